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
PAGES=(Operation01.bmp Operation02.bmp Operation03.bmp Credit.bmp TitleBack.dds Noise01.bmp)

back_on_title() {
  # The menu is back in place at once: item 2 looks as it did before.
  for _ in $(seq 1 20); do
    sleep 0.3
    shot title_again.ppm
    item_crop title_again.ppm 2 item2_now.ppm
    item_crop menu_in_place.ppm 2 item2_then.ppm
    below "$(difference item2_now.ppm item2_then.ppm)" 0.05 && return 0
  done
  fail "not back on the title: $1"
}

page() {  # button, expected picture, screenshot name
  sleep 0.3  # the page takes clicks after ten frames
  click "$1"
  expect_screen "$2" "$ART/$3" "${PAGES[@]}"
}

start_game
wait_for_menu
keep menu_in_place.ppm "$ART/menu_in_place.png"

# The cursor starts in the middle, over the logo; moving down brings it onto item 1.
hover_item 1 0 6 "$ART/menu_hover_item1.png"
click 1
expect_screen Operation01.bmp "$ART/operation_page1.png" "${PAGES[@]}"
page 1 Operation02.bmp operation_page2.png
page 1 Operation03.bmp operation_page3.png
page 3 Operation02.bmp operation_back_page2.png
page 3 Operation01.bmp operation_back_page1.png
sleep 0.3
click 3
back_on_title "right click before the first page"

# Again, this time forward past the last page.
hover_item 1 0 2 "$ART/menu_hover_again.png"
click 1
expect_screen Operation01.bmp "$ART/operation_again1.png" "${PAGES[@]}"
page 1 Operation02.bmp operation_again2.png
page 1 Operation03.bmp operation_again3.png
sleep 0.3
click 1
back_on_title "left click after the last page"

# Further down lies item 4, the credits.
hover_item 4 0 6 "$ART/menu_hover_item4.png"
click 1
expect_screen Credit.bmp "$ART/credits.png" "${PAGES[@]}"
sleep 0.3
click 1
back_on_title "click on the credits"

kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat game.log)"
xdotool key --window "$GAME_WINDOW" Escape
timeout 10 tail --pid="$GAME_PID" -f /dev/null || fail "Escape did not end the game"
echo "PASS: menu, operation pages and credits"
