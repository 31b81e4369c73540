#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): the kept demo played with --play from start to game-over
# in real time. The replay must match its recording, the game-over screen is shot, Escape
# quits, and the player's Setting.dat and Ranking.dat are left exactly as they were.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/match_common.sh"
DEMO=${KORVID_E2E_DEMO:-$HERE/../demo/hunt_easy.kvd}
RESULT=${KORVID_E2E_DEMO_RESULT:-score 2, 2 hits of 2 shots}  # as tests/demo/CMakeLists.txt

# The player's own files, made by an ordinary first start.
first_run
set_setting 0 2  # the hardest difficulty: the replay must use the demo's own
sha256sum Setting.dat Ranking.dat > before.sum
touch -d '2001-01-01' Setting.dat Ranking.dat
stamps=$(stat -c '%n %Y' Setting.dat Ranking.dat)

./korvid --play "$DEMO" > game.log 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window"
# The match begins at once: a player's clicks and keys are not taken.
sleep 8
alive
shot demo_play_match
xdotool mousemove_relative -- 300 0 click 1 key w key r
# Real time: a match of some ten thousand 16 ms steps.
for _ in $(seq 1 400); do
  grep -q "korvid: the replay of .* recording" game.log && break
  alive
  sleep 1
done
grep "korvid: the replay of" game.log || fail "the replay never ended"
grep -q "matched its recording: $RESULT\$" game.log || fail "the replay differs from its recording"
sleep 3  # the transition to the game-over screen
shot demo_play_gameover
# The game-over screen stays (a click does not leave it) until Escape.
xdotool click 1
sleep 2
alive
shot demo_play_gameover_after_click
[ "$(differ "$ART/match_demo_play_gameover.png" "$ART/match_demo_play_gameover_after_click.png")" -lt 2000 ] ||
  fail "a click left the game-over screen"
quit_game
sha256sum -c before.sum || fail "Setting.dat or Ranking.dat changed"
[ "$(stat -c '%n %Y' Setting.dat Ranking.dat)" = "$stamps" ] || fail "Setting.dat or Ranking.dat was rewritten"
echo "PASS: the demo played to its game-over screen and left the player's files alone"
