#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): a match played until a kill enters the ranking, the
# player's death, a Japanese name typed into the ranking-entry dialog and confirmed with "決定",
# and the ranking screen, reached from the title, showing it; Ranking.dat holds it in CP932.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/match_common.sh"

NAME=山田太郎
LEVEL=0

hunt_setup $LEVEL open
start_game
hunt_for_kill $LEVEL entry

# The dialog opens on the first game-over frame. xdotool types each character through a spare
# key it binds to it; the game takes them as typed text.
sleep 2
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool type --delay 300 "$NAME"
sleep 1
shot entry_dialog_typed
confirm_name_entry "$NAME" $LEVEL
sleep 1
shot entry_result_after

# Back to the title with a click; then "ランキング", the third item.
xdotool click 1
source "$HERE/menu_helpers.sh"
wait_for_menu
hover_item 2 6 3 "$ART/entry_hover_ranking.png"
click
sleep 2
shot ranking_screen.ppm
keep ranking_screen.ppm "$ART/entry_ranking.png"
# The names as drawn, by their red channel (each place has its own colour): the four "No Name"
# rows alike, the fifth another name.
name_row() { convert ranking_screen.ppm -crop "$(ref_crop 540 90 205 $((221 + 131 * ($1 - 1))))" +repage \
               -channel R -separate +channel -threshold 50% "row$1.png"; }
for row in 1 2 3 4 5; do name_row $row; done
for row in 1 2 3; do
  [ "$(differ row$row.png row4.png)" -lt 1500 ] || fail "the ranking screen's row $row is not \"No Name\""
done
[ "$(differ row5.png row4.png)" -gt 4000 ] || fail "the ranking screen does not show the new name fifth"
quit_game
echo "PASS: a kill entered the ranking as $NAME"
