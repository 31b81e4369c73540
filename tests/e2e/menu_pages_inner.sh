#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): waits for the title menu, lights an item with the mouse,
# pages through the operation pages both ways and off either end, visits the credits.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/menu_helpers.sh"
ART=$KORVID_E2E_ARTIFACTS

start_game
wait_for_menu
keep menu_in_place.ppm "$ART/menu_in_place.png"

# The cursor starts in the middle, over the logo; moving down brings it onto item 1.
hover_item 1 0 6 "$ART/menu_hover_item1.png"
click_until 1 "$ART/operation_page1.png" shows Operation01.bmp
click_until 1 "$ART/operation_page2.png" shows Operation02.bmp
click_until 1 "$ART/operation_page3.png" shows Operation03.bmp
click_until 3 "$ART/operation_back_page2.png" shows Operation02.bmp
click_until 3 "$ART/operation_back_page1.png" shows Operation01.bmp
click_until 3 "$ART/title_after_first_page.png" title_in_place

# Again, this time forward past the last page.
hover_item 1 0 2 "$ART/menu_hover_again.png"
click_until 1 operation_again1.png shows Operation01.bmp
click_until 1 operation_again2.png shows Operation02.bmp
click_until 1 operation_again3.png shows Operation03.bmp
click_until 1 "$ART/title_after_last_page.png" title_in_place

# Further down lies item 4, the credits.
hover_item 4 0 6 "$ART/menu_hover_item4.png"
click_until 1 "$ART/credits.png" shows Credit.bmp
click_until 1 "$ART/title_after_credits.png" title_in_place

kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat game.log)"
# Escape on the title ends the game. It is typed as a player types, to the window that has the
# focus: the window found at the start may no longer be the game's own by now.
xdotool key Escape
# The game is this script's child: waited for, not polled, since a dead child lingers until then.
status=0
timeout 10 bash -c 'while [ "$(ps -o stat= -p "$1" 2>/dev/null)" != "" ] && [ "$(ps -o stat= -p "$1" | cut -c1)" != Z ]; do sleep 0.2; done' _ "$GAME_PID" ||
  fail "Escape did not end the game"
wait "$GAME_PID" || status=$?
[ "$status" = 0 ] || fail "the game ended with status $status: $(cat game.log)"
echo "PASS: menu, operation pages and credits"
