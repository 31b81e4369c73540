#!/usr/bin/env bash
# Start-up time to the first title frame under Xvfb at 1280 x 1024, on the default pack: once
# cold (the first run after the pack is written) and RUNS times warm. Prints the game's own
# step timings (KORVID_TIMINGS) for each run.
#   BUILD_DIR  build folder holding game/korvid and tools/korvid_assetgen (default build)
#   RUNS       warm runs (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
RUNS=${RUNS:-3}
GAME=$(realpath "$BUILD_DIR/game/korvid")
ASSETGEN=$(realpath "$BUILD_DIR/tools/korvid_assetgen")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$GAME" "$WORK/korvid"
"$ASSETGEN" write "$WORK" > /dev/null

# One start: the game runs until its first title frame is drawn, then is closed.
one_run() {
  xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    cd "$1"
    KORVID_TIMINGS=1 ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$1" \
      ./korvid 2> timings.log &
    pid=$!
    for _ in $(seq 1 300); do
      grep -q "first title frame" timings.log 2>/dev/null && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.05
    done
    kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
    grep "^korvid:" timings.log' _ "$WORK"
}

echo "== cold (the first run after the pack was written)"
one_run
for i in $(seq 1 "$RUNS"); do
  echo "== warm $i"
  one_run
done
