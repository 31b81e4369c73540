#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): the game is killed with SIGKILL at every step of saving
# Ranking.dat (which it does on opening the ranking screen), just before and just after each.
# Every time the file on disk is the whole old one or the whole new one, and the next start
# loads it without a repair message.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/menu_helpers.sh"
PAUSE=${KORVID_E2E_SAVE_PAUSE:?the pausing library is built beside the game}
MASK=79876519

# The table Ranking.dat holds, a row a line; fails on a file that is short, malformed or out
# of range, as the game's own check would.
table() {
  python3 - "$MASK" <<'PY'
import sys
mask = int(sys.argv[1])
lines = open("Ranking.dat", "rb").read().split(b"\r\n")
assert len(lines) == 20 and lines[19] == b"", "not nineteen whole lines"
key = int(lines[0]) ^ mask
for row in lines[1:19]:
    score, length, name = row.split(b",", 2)
    score, length = int(score) ^ key, int(length) ^ key
    assert 0 <= score <= 1000 and length == len(name) <= 16, row
    print(score, name.decode("cp932"))
PY
}

# A start that shows the title: a repair message would come before the window.
start_to_title() {
  start_game
  wait_for_menu
}

quit_title() {
  xdotool key Escape
  for _ in $(seq 1 40); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.25; done
  wait "$GAME_PID" || fail "exit code $?"
}

# The first start writes the default files.
start_to_title
quit_title
expected=$(table) || fail "the first start wrote a damaged Ranking.dat"

for step in 1 2 3 4 5 6 7 8; do
  for after in 0 1; do
    when=$([ $after = 1 ] && echo after || echo before)
    cp Ranking.dat old.dat
    rm -f pause.log
    export KORVID_SAVE_PAUSE_STEP=$step KORVID_SAVE_PAUSE_AFTER=$after KORVID_SAVE_PAUSE_LOG=$PWD/pause.log
    export LD_PRELOAD=$PAUSE ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
    start_game
    unset LD_PRELOAD KORVID_SAVE_PAUSE_STEP KORVID_SAVE_PAUSE_AFTER KORVID_SAVE_PAUSE_LOG
    wait_for_menu
    hover_item 2 6 3 hover.png  # "ランキング": opening the ranking screen saves the table
    click
    for _ in $(seq 1 60); do [ -s pause.log ] && break; sleep 0.25; done
    [ -s pause.log ] || fail "the save never reached step $step"
    kill -KILL "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null || true
    # The server drops the dead game's window soon after; the next start must not find it.
    for _ in $(seq 1 50); do
      xdotool search --onlyvisible --name '^Korvid$' > /dev/null 2>&1 || break
      sleep 0.1
    done
    [ "$(table)" = "$expected" ] || fail "killed $when step $step: Ranking.dat is not a whole table"
    state=$(cmp -s Ranking.dat old.dat && echo old || echo new)
    # The new file takes the old one's place at the rename, and not before.
    wanted=$([ $step -lt 5 ] || { [ $step = 5 ] && [ $after = 0 ]; } && echo old || echo new)
    [ "$state" = "$wanted" ] || fail "killed $when step $step: the $state file is on disk"
    echo "killed $when step $step: Ranking.dat holds the whole $state file"
  done
done

# The file the last kill left loads without a message.
start_to_title
keep menu_in_place.ppm "$KORVID_E2E_ARTIFACTS/kill_while_saving_title.png"
quit_title
[ "$(table)" = "$expected" ] || fail "the last start changed the table"
echo "PASS: every kill left a whole Ranking.dat that loads without a message"
