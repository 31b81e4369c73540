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
HUNT_ENEMY=${KORVID_E2E_HUNT_ENEMY:?the hunter is built beside the game}

NAME=山田太郎
LEVEL=0  # the easiest difficulty: slow enemies that one rifle hit destroys
MASK=79876519

# Ranking.dat whose fifth places hold 0, so that one kill enters the ranking.
write_ranking() {
  python3 - "$MASK" <<'PY'
import sys
mask, key = int(sys.argv[1]), 10987655
rows = b""
for level in range(3):
    for slot in range(6):
        name = b"No Name"
        score = 0 if slot >= 4 else 9 - slot
        rows += b"%d,%d,%s\r\n" % (score ^ key, len(name) ^ key, name)
open("Ranking.dat", "wb").write(b"%d\r\n" % (key ^ mask) + rows)
PY
}

# One difficulty's rows of Ranking.dat as "score<TAB>name", the name decoded from CP932.
ranking_rows() {
  python3 - "$MASK" "$1" <<'PY'
import sys
mask, level = int(sys.argv[1]), int(sys.argv[2])
lines = open("Ranking.dat", "rb").read().split(b"\r\n")
key = int(lines[0]) ^ mask
for row in lines[1 + 6 * level:7 + 6 * level]:
    score, length, name = row.split(b",", 2)
    assert len(name) == int(length) ^ key
    print("%d\t%s" % (int(score) ^ key, name.decode("cp932")))
PY
}

ended() { [ Ranking.dat -nt ranking_before.dat ]; }

first_run
set_setting 0 $LEVEL
set_setting 1 1  # the rifle in hand from the start
write_ranking
sleep 1.1  # a later save must show a later time
touch ranking_before.dat
start_game
start_match _entry
# A match that ends without a kill (enemies on this difficulty are few, far apart and slow to
# come near) is played again, once: from the game-over screen a click leads to the title.
for match in 1 2; do
  if [ $match = 2 ]; then
    sleep 1.1
    touch ranking_before.dat
    xdotool click 1
    start_match _entry_again
  fi
  # The match fades in from black; the view turns only once it has.
  for _ in $(seq 1 60); do
    sleep 0.5
    shot faded
    [ "$(dark "$ART/match_faded.png")" = "0" ] && break
  done
  sleep 2  # the rest of the fade: turns made while it lasts are not taken

  # Hunt: the hunter turns onto enemies and fires until the match has ended and the ranking
  # is saved. After a kill it seeks out an enemy's fire, and the player dies.
  timeout 390 "$HUNT_ENEMY" 380 Ranking.dat ranking_before.dat || true
  shot entry_match_end
  sleep 2.5
  shot entry_result
  ended || fail "the match never ended"
  score=$(ranking_rows $LEVEL | sed -n 6p | cut -f1)
  echo "match $match ended with a score of $score"
  [ "$score" -gt 0 ] && break
done
[ "$score" -gt 0 ] || fail "no kill: two matches ended with a score of 0"

# The dialog opens on the first game-over frame. xdotool types each character through a spare
# key it binds to it; the game takes them as typed text.
sleep 2
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool type --delay 300 "$NAME"
sleep 1
shot entry_dialog_typed
touch ranking_before.dat
sleep 1.1
# "決定" lies right of and below the centre of the dialog, which is centred on the window.
xdotool mousemove 698 563 sleep 0.3 click 1
for _ in $(seq 1 20); do ended && break; sleep 0.5; done
ended || fail "the dialog's end saved no ranking"
rows=$(ranking_rows $LEVEL)
echo "$rows"
echo "$rows" | grep -q "	$NAME\$" || fail "Ranking.dat does not hold $NAME"
echo "$rows" | cut -f1 | sort -rnc || fail "the ranking is out of order"
python3 -c "import sys; sys.exit(0 if '$NAME'.encode('cp932') in open('Ranking.dat','rb').read() else 1)" ||
  fail "the name is not stored in CP932"
sleep 1
shot entry_result_after

# Back to the title with a click; then "ランキング", the third item.
xdotool click 1
GAME_PID=$pid GAME_WINDOW=$wid
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
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$pid" || fail "exit code $?"
echo "PASS: a kill entered the ranking as $NAME"
