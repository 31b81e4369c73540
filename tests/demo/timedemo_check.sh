#!/usr/bin/env bash
# Replays a kept demo headless with --timedemo, in a fresh game folder, and requires the
# recorded result and no desync; the player's files are neither made nor touched.
# Usage: timedemo_check.sh GAME FILES DEMO "RESULT" [SIZE]
set -euo pipefail
GAME=$1 FILES=$2 DEMO=$3 RESULT=$4 SIZE=${5:-320x240}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
ln -s "$FILES" "$WORK/File"
cd "$WORK"
export XDG_RUNTIME_DIR=$WORK ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
status=0
"$GAME" --timedemo "$DEMO" --size "$SIZE" > out.txt 2> err.txt || status=$?
cat out.txt
grep -v '^INFO' err.txt >&2 || true
[ "$status" = 0 ] || { echo "FAIL: exit status $status (3: the replay differs from the recording)"; exit 1; }
grep -q "replay identical: $RESULT," out.txt || { echo "FAIL: not the recorded result ($RESULT)"; exit 1; }
for f in Setting.dat Ranking.dat; do
  [ ! -e "$f" ] || { echo "FAIL: the replay wrote $f"; exit 1; }
done
echo "PASS: the kept demo replays to its recorded result"
