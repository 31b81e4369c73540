#!/usr/bin/env bash
# Start-up time to the first title frame under Xvfb at 1280 x 1024, on the default pack: once
# cold (the first run after the pack is written) and RUNS times warm. Prints the game's own
# step timings (KORVID_TIMINGS) and its resident memory at the first title frame for each run.
#   BUILD_DIR  build folder holding game/korvid and tools/korvid_assetgen (default build)
#   RUNS       warm runs (default 3)
#   BASE_DIR   another build folder (an older tree) whose game is run too, turn about with this
#              one on the same pack, so that the two are measured side by side
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
RUNS=${RUNS:-3}
BASE_DIR=${BASE_DIR:-}
ASSETGEN=$(realpath "$BUILD_DIR/tools/korvid_assetgen")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$ASSETGEN" write "$WORK" > /dev/null
cp "$(realpath "$BUILD_DIR/game/korvid")" "$WORK/korvid"
[ -z "$BASE_DIR" ] || cp "$(realpath "$BASE_DIR/game/korvid")" "$WORK/korvid_base"

# One start of the named program: it runs until its first title frame is drawn, then is closed.
one_run() {
  xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    cd "$1"
    KORVID_TIMINGS=1 ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$1" \
      "./$2" 2> timings.log &
    pid=$!
    for _ in $(seq 1 300); do
      grep -q "first title frame" timings.log 2>/dev/null && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.05
    done
    rss=$(grep VmRSS /proc/$pid/status 2>/dev/null | tr -s " " | cut -d" " -f2 || true)
    kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
    grep "^korvid:" timings.log
    echo "korvid: resident memory at the first title frame: ${rss:-?} kB"' _ "$WORK" "$1"
}

both() {
  if [ -n "$BASE_DIR" ]; then
    echo "-- $BASE_DIR"
    one_run korvid_base
    echo "-- $BUILD_DIR"
  fi
  one_run korvid
}

echo "== cold (the first run after the pack was written)"
both
for i in $(seq 1 "$RUNS"); do
  echo "== warm $i"
  both
done
