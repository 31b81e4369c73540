#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh) with LANGUAGE=en: the title, the operation pages, every page
# of the settings window and a repair message, each read back by OCR in English.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK LANGUAGE=en
export PICTURES=File/Bitmap/en
source "$HERE/menu_helpers.sh"
ART=$KORVID_E2E_ARTIFACTS/english
mkdir -p "$ART"

# The words of a screenshot (or a crop of it, "WxH+X+Y"), enlarged for the recogniser.
words() {
  convert "$1" ${2:+-crop "$2" +repage} -colorspace gray -resize 300% ocr.png
  # Read twice, as a page and as sparse text: the words of a screen lie scattered, and each
  # reading finds some that the other misses.
  { tesseract ocr.png - --psm 3 2>/dev/null; tesseract ocr.png - --psm 11 2>/dev/null; } | tr -s ' \n' ' '
}
# Every phrase must be read on the picture (the body texts: the stylised headings are read
# unreliably).
reads() {
  local picture=$1 crop=$2 text; shift 2
  text=$(words "$picture" "$crop")
  echo "$picture: $text" >> "$ART/ocr.txt"
  for phrase in "$@"; do
    grep -qiF -- "$phrase" <<< "$text" || fail "\"$phrase\" is not on $picture (read: $text)"
  done
}

start_game
wait_for_menu
keep menu_in_place.ppm "$ART/title.png"
reads "$ART/title.png" "" "Start Game" "How to Play" "Ranking" "Settings" "Credits" "Quit"

hover_item 1 0 6 "$ART/title_hover.png"
click_until 1 "$ART/operation1.png" shows Operation01.bmp
reads "$ART/operation1.png" "" "Pick a weapon" "Look around" "Reload"
click_until 1 "$ART/operation2.png" shows Operation02.bmp
reads "$ART/operation2.png" "" "Machine gun" "Rifle" "Handgun" "Fast reload"
click_until 1 "$ART/operation3.png" shows Operation03.bmp
reads "$ART/operation3.png" "" "floating spheres" "enemies destroyed" "your hit rate"
click_until 1 "$ART/title_again.png" title_in_place

# The settings window: item 3, then each page in turn with Ctrl+Tab; read in the middle.
DIALOG=640x400+320+320
hover_item 3 -8 8 "$ART/title_hover_settings.png"
click 1
sleep 2.5
shot settings.ppm
keep settings.ppm "$ART/settings_game.png"
reads "$ART/settings_game.png" "$DIALOG" "Level:" "Weapon:" "Style" "All defaults" "Version" "Cancel" "Save"
page_words=("Size:" "Window mode" "Mipmap levels:" ""
            "Music" "Play effects" "Play voices" ""
            "Keys:" "Forward:" "Turn right:" "Reload:"
            "Show FPS" "Debug mode" "Defaults" ""
            "Picture shape:" "Language" "Take screenshots" "saved in korvid")
names=(graphics sound keys other options)
for i in 0 1 2 3 4; do
  xdotool key --clearmodifiers ctrl+Tab
  sleep 1
  shot page.ppm
  keep page.ppm "$ART/settings_${names[$i]}.png"
  expected=()
  for w in "${page_words[@]:$((i * 4)):4}"; do [ -n "$w" ] && expected+=("$w"); done
  reads "$ART/settings_${names[$i]}.png" "$DIALOG" "${expected[@]}"
done
xdotool key --clearmodifiers Escape
sleep 1.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat game.log)"
# Escape on the title ends the game once its first frames are over: given until it has gone.
for _ in $(seq 1 40); do
  kill -0 "$GAME_PID" 2>/dev/null || break
  xdotool search --name '^Korvid$' | head -1 | xargs -r -I{} xdotool windowfocus --sync {} key Escape 2>/dev/null || true
  sleep 0.5
done
kill -0 "$GAME_PID" 2>/dev/null && fail "Escape did not end the game"
wait "$GAME_PID" || true

# A damaged Setting.dat: the first repair question, in English.
printf '00000000' | dd of=Setting.dat bs=1 seek=0 conv=notrunc 2>/dev/null
./korvid > repair.log 2>&1 &
pid=$!
box=""
for _ in $(seq 1 100); do
  sleep 0.2
  for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && box=$w
  done
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no repair message"
sleep 1
import -window root "$ART/repair_message.png"
# The desktop's box is light text on dark grey: turned dark on white for the recogniser.
convert "$ART/repair_message.png" -crop 480x240+400+250 +repage -colorspace gray -negate -normalize \
  -resize 400% -threshold 60% box.png
text=$(tesseract box.png - --psm 6 2>/dev/null | tr -s ' \n' ' ')
echo "repair_message.png: $text" >> "$ART/ocr.txt"
for phrase in "game settings could not be read" "may have been altered" "were reset"; do
  grep -qiF -- "$phrase" <<< "$text" || fail "\"$phrase\" is not in the repair message (read: $text)"
done
# Five questions, each answered Yes (the default button), then the game; Escape ends it.
for _ in $(seq 1 5); do
  xdotool windowfocus "$box" 2>/dev/null || true
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 30); do xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable' || break; sleep 0.1; done
  box=""
  for _ in $(seq 1 50); do
    for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
      xwininfo -id "$w" 2>/dev/null | grep -q 'Map State: IsViewable' && box=$w
    done
    [ -n "$box" ] && break
    sleep 0.1
  done
done
timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' > /dev/null || fail "no game after the repair"
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool search --name '^Korvid$' | head -1 | xargs -r -I{} xdotool windowfocus --sync {} key Escape 2>/dev/null || true
  sleep 0.5
done
echo "PASS: title, operation pages, settings pages and a repair message in English"
