#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): a match on the hardest difficulty, started from the title
# menu, where the player stands still until dying, the death fade and the game-over screen.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$(dirname "$0")/match_common.sh"

first_run
# The hardest difficulty, standing still until the match ends; the ranking is saved then.
set_setting 0 2
sleep 1.1  # a later save must show a later time
touch ranking_before.dat
start_game
start_match _hardest
n=0
for _ in $(seq 1 200); do
  sleep 1
  alive
  n=$((n + 1))
  shot "wait_$((n % 8))"
  if [ Ranking.dat -nt ranking_before.dat ]; then break; fi
done
[ Ranking.dat -nt ranking_before.dat ] || fail "the match never ended"
sleep 3
shot game_over
quit_game
echo "PASS: from the menu to death and the game-over screen"
