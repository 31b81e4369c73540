#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): a damaged Setting.dat is repaired section by section,
# one message each, before any window opens.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
fail() { echo "FAIL: $*"; exit 1; }
top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# A valid file whose header is eight zeros: every field decodes out of range.
./korvid > /dev/null 2>&1 &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' > /dev/null || fail "no first window"
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool search --name '^Korvid$' | head -1 | xargs -r -I{} xdotool windowfocus --sync {} key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$pid" || true
printf '00000000' | dd of=Setting.dat bs=1 seek=0 conv=notrunc 2>/dev/null

./korvid > run.log 2>&1 &
pid=$!
boxes=0
for _ in $(seq 1 600); do
  sleep 0.1
  game=$(xdotool search --onlyvisible --name '^Korvid$' 2>/dev/null | head -1 || true)
  if [ -n "$game" ]; then break; fi
  box=""
  for w in $(top_windows); do viewable "$w" && box=$w; done
  [ -n "$box" ] || continue
  # Boxes may come back under the same window id, so a message is told apart by its picture:
  # a settled capture (two alike in a row) not seen before is a new message.
  import -window "$box" box_a.ppm 2>/dev/null || continue
  sleep 0.3
  import -window "$box" box_b.ppm 2>/dev/null || continue
  cmp -s box_a.ppm box_b.ppm || continue
  sum=$(md5sum < box_a.ppm)
  if ! grep -qx "$sum" seen.txt 2>/dev/null; then
    echo "$sum" >> seen.txt
    boxes=$((boxes + 1))
    [ "$boxes" -eq 1 ] && import -window root "$KORVID_E2E_ARTIFACTS/repair_message.png"
  fi
  # Yes is the default button: Return answers it.
  xdotool windowfocus "$box" 2>/dev/null || true
  xdotool key --clearmodifiers Return
  # Until this box has gone: a slow close would otherwise be seen again and answered twice,
  # the second Return taking the next box before it was counted.
  for _ in $(seq 1 30); do viewable "$box" || break; sleep 0.1; done
done
[ "$boxes" -eq 5 ] || fail "expected five repair messages before the window, saw $boxes"
[ -n "${game:-}" ] || fail "the game window never opened"

for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool windowfocus --sync "$game" key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$pid" || fail "exit code $?"
echo "PASS: damaged settings repaired in five passes"
