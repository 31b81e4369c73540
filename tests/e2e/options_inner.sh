#!/usr/bin/env bash
# Runs inside Xvfb on a 16:9 screen (run_in_xvfb.sh with KORVID_E2E_SCREEN=1280x720x24): the
# picture keeps its shape between black bars on the title, a menu page, the settings window and a
# match; F12 leaves PNG screenshots; korvid.ini set to stretch fills the screen again.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK XDG_PICTURES_DIR=$KORVID_E2E_WORK/pictures
source "$HERE/menu_helpers.sh"
ART=$KORVID_E2E_ARTIFACTS
SHOTS=$XDG_PICTURES_DIR/Korvid

[ "$SCREEN_W"x"$SCREEN_H" = 1280x720 ] || fail "the screen is ${SCREEN_W}x$SCREEN_H, not 1280x720"
[ "$(picture_crop)" = 960x720+160+0 ] || fail "the picture should lie at 960x720+160+0, not $(picture_crop)"

# Brightest grey level (0..1) of a part of a screenshot.
brightest() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:maxima]' info:; }
mean_of() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:; }
# Black bars left and right of the picture, and a picture that is not black at its edges.
has_bars() {
  below "$(brightest "$1" 160x720+0+0)" 0.01 || fail "the left bar is not black ($2)"
  below "$(brightest "$1" 160x720+1120+0)" 0.01 || fail "the right bar is not black ($2)"
  below 0.02 "$(mean_of "$1" 40x720+160+0)" || fail "the picture does not reach the left bar ($2)"
  below 0.02 "$(mean_of "$1" 40x720+1080+0)" || fail "the picture does not reach the right bar ($2)"
}
screenshot_count() { find "$SHOTS" -name 'korvid-*.png' 2>/dev/null | wc -l; }
# Waits for the n-th screenshot file and checks it has the back buffer's size.
expect_screenshot() {
  local n=$1 file=""
  for _ in $(seq 1 20); do
    [ "$(screenshot_count)" -ge "$n" ] && break
    sleep 0.25
  done
  [ "$(screenshot_count)" -eq "$n" ] || fail "$(screenshot_count) screenshots, not $n: $(cat game.log)"
  file=$(ls -t "$SHOTS"/korvid-*.png | head -1)
  [[ "$(basename "$file")" =~ ^korvid-[0-9]{8}-[0-9]{6}(-[0-9]+)?\.png$ ]] || fail "screenshot name $file"
  [ "$(identify -format '%wx%h' "$file")" = 640x480 ] || fail "screenshot $file is $(identify -format '%wx%h' "$file")"
  SAVED=$file
}

# 1. The title between bars; F12 saves what the screen shows.
start_game
wait_for_menu
keep menu_in_place.ppm "$ART/options_title_keep.png"
has_bars menu_in_place.ppm title
xdotool key F12
expect_screenshot 1
cp "$SAVED" "$ART/options_saved_screenshot.png"
shot after_f12.ppm
convert after_f12.ppm -crop "$(picture_crop)" +repage -resize 640x480! on_screen.ppm
below "$(difference on_screen.ppm "$SAVED")" 0.08 || fail "the screenshot is not the picture on the screen"
# Print Screen takes one too (the desktop here passes it on).
xdotool key Print
expect_screenshot 2

# 2. A click lands on the item the cursor is seen over: "操作説明" opens its first page.
hover_item 1 0 6 "$ART/options_hover_item1.png"
click_until 1 "$ART/options_operation_page.png" shows Operation01.bmp
has_bars screen.ppm "operation page"
click_until 3 "$ART/options_title_again.png" title_in_place

# 3. The settings window over its backdrop, still between bars, and the sixth page.
hover_item 3 -6 3 "$ART/options_hover_settings.png"
click
sleep 2.5
shot settings.ppm
keep settings.ppm "$ART/options_settings_window.png"
below "$(difference menu_in_place.ppm settings.ppm)" 0.02 && fail "no settings window"
has_bars settings.ppm "settings window"
xdotool key --delay 200 ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
sleep 0.8
shot options_page.ppm
keep options_page.ppm "$ART/options_page.png"
below "$(difference settings.ppm options_page.ppm)" 0.005 && fail "the sixth page did not show"
xdotool key Escape
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat game.log)"
[ ! -e korvid.ini ] || fail "cancelling wrote korvid.ini"
# The cursor is still on "設定"; "ゲームスタート" lies straight above it.
shot menu_in_place.ppm

# 4. A match, full screen, between bars; F12 there too.
hover_item 0 0 -6 "$ART/options_hover_start.png"
click
sleep 5
shot match.ppm
keep match.ppm "$ART/options_match_keep.png"
has_bars match.ppm match
xdotool key F12
expect_screenshot 3
cp "$SAVED" "$ART/options_match_screenshot.png"
for _ in $(seq 1 40); do
  kill -0 "$GAME_PID" 2>/dev/null || break
  xdotool key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$GAME_PID" || fail "the game ended with status $?: $(cat game.log)"

# 5. korvid.ini asks for the original's look: the title fills the screen.
printf '[display]\npicture_shape = stretch\n' > korvid.ini
picture_stretched
start_game
wait_for_menu
keep menu_in_place.ppm "$ART/options_title_stretch.png"
below 0.02 "$(mean_of menu_in_place.ppm 40x720+0+0)" || fail "stretched, the picture does not reach the left edge"
below 0.02 "$(mean_of menu_in_place.ppm 40x720+1240+0)" || fail "stretched, the picture does not reach the right edge"
grep -q 'korvid.ini' game.log && fail "korvid.ini was named on standard error: $(cat game.log)"
xdotool key Escape
timeout 10 tail --pid="$GAME_PID" -f /dev/null || fail "Escape did not end the game"
echo "PASS: picture shape, screenshots and the options page at 16:9"
