#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): the first run as a new player would, a refused second
# start, Escape quitting with code 0, and Setting.dat and Ranking.dat holding the defaults.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null
# Tests must not collide with a game the user is running.
export XDG_RUNTIME_DIR=$KORVID_E2E_WORK
fail() { echo "FAIL: $*"; exit 1; }

./korvid > first.log 2>&1 &
first=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window"
sleep 2
kill -0 "$first" 2>/dev/null || fail "the game ended by itself: $(cat first.log)"
import -window root "$KORVID_E2E_ARTIFACTS/first_run.png"
geometry=$(xdotool getwindowgeometry "$wid")
echo "$geometry"
echo "$geometry" | grep -q 'Geometry: 1280x1024' || fail "window does not cover the screen"

# A second start is refused with the double-start message and exits 0.
# Message boxes carry UTF-8 titles only, so find the new top-level window in the tree.
top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }
top_windows > before.txt
./korvid > second.log 2>&1 &
second=$!
box=""
for _ in $(seq 1 100); do
  sleep 0.1
  for w in $(top_windows | comm -13 before.txt -); do
    if xwininfo -id "$w" | grep -q 'Map State: IsViewable'; then box=$w; fi
  done
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no message box from the second start"
import -window root "$KORVID_E2E_ARTIFACTS/double_start.png"
# Press its OK button, which sits centred near the box's bottom edge.
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove --window "$box" $((WIDTH / 2)) $((HEIGHT - 26)) click 1
timeout 10 tail --pid="$second" -f /dev/null || fail "the refused start is still waiting"
code=0
wait "$second" || code=$?
[ "$code" -eq 0 ] || fail "second instance exit code $code"
kill -0 "$first" 2>/dev/null || fail "the first instance died"

# Escape on the title closes the game with exit code 0 (the title ignores it for its first
# ten frames, which may still lie ahead if loading is slow: press until it goes).
for _ in $(seq 1 40); do
  kill -0 "$first" 2>/dev/null || break
  xdotool windowfocus --sync "$wid" key Escape 2>/dev/null || true
  sleep 0.5
done
code=0
wait "$first" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code: $(cat first.log)"

[ "$(stat -c %s Setting.dat)" -eq 442 ] || fail "Setting.dat is $(stat -c %s Setting.dat) bytes"
[ "$(stat -c %s Ranking.dat)" -eq 631 ] || fail "Ranking.dat is $(stat -c %s Ranking.dat) bytes"
echo "PASS: first run"
