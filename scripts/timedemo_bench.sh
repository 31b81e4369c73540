#!/usr/bin/env bash
# The play frame's benchmark on real gameplay: the kept demo replayed with --timedemo at
# 640 x 480 and 1600 x 1200, beside the fill-rate floor play_bench measures at the same sizes
# (clearing and drawing the frame's full-screen layers), in one run on one machine.
#   BUILD_DIR  build folder (default build), with the game, its pack and bench/play_bench
#   DEMO       the demo to replay (default tests/demo/hunt_easy.kvd)
#   SIZES      the sizes (default "640x480 1600x1200")
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=$(cd "${BUILD_DIR:-build}" && pwd)
DEMO=$(realpath "${DEMO:-tests/demo/hunt_easy.kvd}")
SIZES=${SIZES:-640x480 1600x1200}
GAME=$BUILD_DIR/game/korvid
[ -x "$GAME" ] && [ -x "$BUILD_DIR/bench/play_bench" ] || { echo "build the game and bench/play_bench first"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
ln -s "$BUILD_DIR/game/File" "$WORK/File"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} XDG_RUNTIME_DIR=$WORK

# The floor: milliseconds per frame at each size.
filter=$(printf 'BM_PlayFillFloor/%s|' $(echo "$SIZES" | tr x /))
(cd "$BUILD_DIR" && KORVID_GAME_DIR=$BUILD_DIR/game bench/play_bench --benchmark_filter="${filter%|}" \
   --benchmark_format=json --benchmark_min_time=1 > "$WORK/floor.json" 2> "$WORK/floor.err") ||
  { cat "$WORK/floor.err"; exit 1; }

for size in $SIZES; do
  (cd "$WORK" && "$GAME" --timedemo "$DEMO" --size "$size" > "$WORK/td_$size.txt" 2> "$WORK/td_$size.err") || {
    cat "$WORK/td_$size.txt" "$WORK/td_$size.err"; exit 1; }
done

python3 - "$WORK" $SIZES <<'PY'
import json, re, sys
work, sizes = sys.argv[1], sys.argv[2:]
floor = {}
for b in json.load(open(f"{work}/floor.json"))["benchmarks"]:
    m = re.match(r"BM_PlayFillFloor/(\d+)/(\d+)", b["name"])
    if m:
        floor[f"{m[1]}x{m[2]}"] = b["real_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
print(f"{'size':>10} {'frames':>7} {'seconds':>8} {'avg fps':>8} {'lowest':>7} {'1% low':>7} "
      f"{'ms/frame':>9} {'floor ms':>9} {'ratio':>6}  replay")
for size in sizes:
    text = open(f"{work}/td_{size}.txt").read()
    m = re.search(r"frames (\d+), seconds ([\d.]+), average ([\d.]+) fps, lowest ([\d.]+) fps, 1% low ([\d.]+) fps", text)
    frames, seconds, avg, low, low1 = int(m[1]), float(m[2]), float(m[3]), float(m[4]), float(m[5])
    ms = 1000 / avg if avg else float("nan")
    ok = "identical" if "replay identical" in text else "DESYNC"
    print(f"{size:>10} {frames:>7} {seconds:>8.1f} {avg:>8.1f} {low:>7.1f} {low1:>7.1f} "
          f"{ms:>9.2f} {floor[size]:>9.2f} {ms / floor[size]:>6.2f}  {ok}")
PY
