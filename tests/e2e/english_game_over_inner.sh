#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh) with LANGUAGE=en: a match played by the hunter until a kill
# enters the ranking and the player dies; the ranking-entry dialog read by OCR, a name typed into
# it and confirmed, Ranking.dat holding it; then the game-over screen read back in English.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK LANGUAGE=en
source "$(dirname "$0")/match_common.sh"
mkdir -p "$ART/english"

NAME=Alice
LEVEL=0
# The dialog, centred on the window, and the middle of its two buttons.
DIALOG=240x150+520+438
DECLINE=60x18+554+553
CONFIRM=60x18+668+553

# The words of a screenshot (or a crop of it), enlarged for the recogniser and read twice, as
# a page and as sparse text: each reading finds some words the other misses.
words() {
  convert "$1" ${2:+-crop "$2" +repage} -colorspace gray -resize "${3:-200}%" ocr.png
  { tesseract ocr.png - --psm 3 2>/dev/null; tesseract ocr.png - --psm 11 2>/dev/null; } | tr -s ' \n' ' '
}
# A button's word, read as one line.
button_word() {
  convert "$1" -crop "$2" +repage -colorspace gray -resize 400% button.png
  tesseract button.png - --psm 7 2>/dev/null | tr -d ' \n'
}
# Every phrase must be read on the picture.
reads() {
  local picture=$1 crop=$2 scale=$3 text; shift 3
  text=$(words "$picture" "$crop" "$scale")
  echo "$(basename "$picture"): $text" >> "$ART/english/ocr.txt"
  for phrase in "$@"; do
    grep -qiF -- "$phrase" <<< "$text" || fail "\"$phrase\" is not on $picture (read: $text)"
  done
}

hunt_setup $LEVEL open
start_game
hunt_for_kill $LEVEL english

# The dialog opens on the first game-over frame, its field holding "No Name" selected.
sleep 2
import -window root "$ART/english/name_entry.png"
reads "$ART/english/name_entry.png" "$DIALOG" 300 "RankingEntry" "You made the ranking" "Please enter a name"
for pair in "$DECLINE Decline" "$CONFIRM OK"; do
  word=$(button_word "$ART/english/name_entry.png" "${pair% *}")
  echo "button: $word" >> "$ART/english/ocr.txt"
  [ "$word" = "${pair#* }" ] || fail "the button reads \"$word\", not \"${pair#* }\""
done
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool type --delay 300 "$NAME"
sleep 1
import -window root "$ART/english/name_entry_typed.png"
reads "$ART/english/name_entry_typed.png" "$DIALOG" 300 "Please enter a name" "$NAME"
confirm_name_entry "$NAME" $LEVEL

sleep 2
import -window root "$ART/english/game_over.png"
reads "$ART/english/game_over.png" "" 200 "GAME OVER" "Hits / shots" "Hit rate" "Kills"
quit_game
echo "PASS: the name entry and the game-over screen in English (score $score)"
