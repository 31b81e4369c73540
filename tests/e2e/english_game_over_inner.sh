#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh) with LANGUAGE=en: a match on the hardest difficulty where
# the player stands still until dying; the game-over screen is read back by OCR in English.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK LANGUAGE=en
source "$(dirname "$0")/match_common.sh"
mkdir -p "$ART/english"

first_run
set_setting 0 2
sleep 1.1  # a later save must show a later time
touch ranking_before.dat
start_game
start_match _english
for _ in $(seq 1 200); do
  sleep 1
  alive
  if [ Ranking.dat -nt ranking_before.dat ]; then break; fi
done
[ Ranking.dat -nt ranking_before.dat ] || fail "the match never ended"
sleep 3
import -window root "$ART/english/game_over.png"
convert "$ART/english/game_over.png" -colorspace gray -resize 200% ocr.png
text=$({ tesseract ocr.png - --psm 3 2>/dev/null; tesseract ocr.png - --psm 11 2>/dev/null; } | tr -s ' \n' ' ')
echo "game_over.png: $text" >> "$ART/english/ocr.txt"
for phrase in "GAME OVER" "Hits / shots" "Hit rate" "Kills"; do
  grep -qiF -- "$phrase" <<< "$text" || fail "\"$phrase\" is not on the game-over screen (read: $text)"
done
quit_game
echo "PASS: the game-over screen in English"
