# Shared by the match scripts: screenshots, picture comparisons, starting, quitting, settings,
# choosing the first title-menu item, and the hunter's matches with their ranking. Sourced
# inside Xvfb (run_in_xvfb.sh).
ART=$KORVID_E2E_ARTIFACTS
fail() { echo "FAIL: $*"; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/picture_geometry.sh"
shot() { import -window root "$ART/match_$1.png"; }
# The same, under a name that menu_helpers.sh, sourced later by some runs, leaves alone.
art() { import -window root "$ART/match_$1.png"; }
# Pixels that differ between two pictures (optionally within a crop).
differ() { compare -metric AE ${3:+-extract $3} "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true; }
# Pixels that differ between the near-white parts (the digits) of two crops; flashes tint the
# rest of the panel.
digits_differ() {
  convert "$1" -crop "$3" +repage -colorspace gray -threshold 88% digits_a.png
  convert "$2" -crop "$3" +repage -colorspace gray -threshold 88% digits_b.png
  differ digits_a.png digits_b.png
}
# 1 when a patch left of the centre is nearly black (the fade-in, the scope's rim).
dark() { convert "$1" -crop "$(ref_crop 150 150 60 150)" -format '%[fx:mean<0.08]' info:; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the game ended: $(cat game.log)"; }

# Starts the game with these arguments; sets pid and wid (and the menu helpers' names of them).
start_game() {
  ./korvid "$@" > game.log 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window"
  xdotool windowfocus --sync "$wid"
  GAME_PID=$pid GAME_WINDOW=$wid
}

quit_game() {
  for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool windowfocus --sync "$wid" key Escape 2>/dev/null || true
    sleep 0.5
  done
  wait "$pid" || fail "exit code $?"
}

# Field `index` of Setting.dat set to `value` (fields are masked with the file's key).
set_setting() {
  python3 - "$1" "$2" <<'PY'
import sys
index, value = int(sys.argv[1]), int(sys.argv[2])
data = open("Setting.dat", "rb").read()
head, rest = data.split(b"\r\n", 1)
key = int(head) ^ 79876519
values = rest.split(b",")
values[index] = str(value ^ key).encode()
open("Setting.dat", "wb").write(head + b"\r\n" + b",".join(values))
PY
}

# From the title: wait for the menu to slide in, put the cursor on "ゲームスタート", click.
start_match() {
  wait_title_menu
  # The menu cursor follows relative motion; a move that ends near a screen edge is applied at
  # once (the game puts the pointer back in the middle), so these three land on the item.
  for move in "-560 450" "600 -420" "-560 135"; do
    xdotool mousemove_relative -- $move
    sleep 0.3
  done
  shot "menu$1"
  xdotool click 1
}

# Until the title menu's first item stands still where it ends its slide.
wait_title_menu() {
  local menu_item previous="" i
  menu_item=$(ref_crop 330 160 64 597)
  for i in $(seq 1 60); do
    sleep 0.5
    import -window root "title_$((i % 2)).png"
    if [ -n "$previous" ] && [ "$(differ "$previous" "title_$((i % 2)).png" $menu_item)" = "0" ] &&
       [ "$(convert "title_$((i % 2)).png" -crop $menu_item -format '%[fx:mean>0.05]' info:)" = "1" ]; then
      break
    fi
    previous="title_$((i % 2)).png"
  done
}

# A first run writes the default Setting.dat; 640 x 480 keeps a software rasteriser quick.
first_run() {
  start_game
  quit_game
  set_setting 7 2
}

# The hunter's matches. Ranking.dat is newer than ranking_before.dat once a match has ended
# (and again once a name entry has saved).
MASK=79876519
HUNT_ENEMY=${KORVID_E2E_HUNT_ENEMY:-}
ended() { [ Ranking.dat -nt ranking_before.dat ]; }
need_hunter() { [ -n "$HUNT_ENEMY" ] || fail "the hunter is built beside the game (KORVID_E2E_HUNT_ENEMY)"; }
mark_ranking() {
  sleep 1.1  # a later save must show a later time
  touch ranking_before.dat
}

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

# Ranking.dat holds this name at this difficulty, stored in CP932, with the places in order.
check_ranked_name() {
  local name=$1 level=$2 rows
  rows=$(ranking_rows "$level")
  echo "$rows"
  awk -F'\t' -v name="$name" '$2 == name { found = 1 } END { exit !found }' <<< "$rows" ||
    fail "Ranking.dat does not hold $name"
  cut -f1 <<< "$rows" | sort -rnc || fail "the ranking is out of order"
  python3 -c "import sys; sys.exit(0 if sys.argv[1].encode('cp932') in open('Ranking.dat','rb').read() else 1)" "$name" ||
    fail "the name is not stored in CP932"
}

# Confirms the name-entry dialog with the name already typed: its confirm button lies right of
# and below the centre of the dialog, which is centred on the window. The ranking must be saved
# with the name at this difficulty.
confirm_name_entry() {
  local name=$1 level=$2
  mark_ranking
  xdotool mousemove 698 563 sleep 0.3 click 1
  for _ in $(seq 1 20); do ended && break; sleep 0.5; done
  ended || fail "the dialog's end saved no ranking"
  check_ranked_name "$name" "$level"
}

# The first run for a hunted match: this difficulty (0, the easiest, has slow enemies that one
# rifle hit destroys), the rifle in hand from the start; "open" writes a ranking that one kill
# enters.
hunt_setup() {
  need_hunter
  first_run
  set_setting 0 "$1"
  set_setting 1 1
  [ "${2:-}" != open ] || write_ranking
  mark_ranking
}

# The match fades in from black; the view turns only once it has. Screenshots match_<name>.png.
wait_fade_in() {
  for _ in $(seq 1 60); do
    sleep 0.5
    art "$1"
    [ "$(dark "$ART/match_$1.png")" = "0" ] && break
  done
  sleep 2  # the rest of the fade: turns made while it lasts are not taken
}

# The hunter turns onto enemies and fires until the match has ended and the ranking is saved,
# or SECONDS have passed; after KILLS kills (default 1) it seeks out an enemy's fire and the
# player dies.
hunt() {
  need_hunter
  timeout $(($1 + 10)) "$HUNT_ENEMY" "$1" Ranking.dat ranking_before.dat ${2:+"$2"} || true
}

# From the title, matches at this difficulty until one ends with a kill that enters the ranking
# (one more is played if the first has none: from the game-over screen a click leads to the
# title). Sets score; screenshots match_<name>_*.png.
hunt_for_kill() {
  local level=$1 name=$2 match
  start_match "_$name"
  for match in 1 2; do
    if [ $match = 2 ]; then
      mark_ranking
      xdotool click 1
      start_match "_${name}_again"
    fi
    wait_fade_in "${name}_faded"
    hunt 380
    art "${name}_match_end"
    sleep 2.5
    art "${name}_result"
    ended || fail "the match never ended"
    score=$(ranking_rows "$level" | sed -n 6p | cut -f1)
    echo "match $match ended with a score of $score"
    [ "$score" -gt 0 ] && return 0
  done
  fail "no kill: two matches ended with a score of 0"
}
