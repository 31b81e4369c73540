# Shared by the match scripts: screenshots, picture comparisons, starting, quitting, settings
# and choosing the first title-menu item. Sourced inside Xvfb (run_in_xvfb.sh).
ART=$KORVID_E2E_ARTIFACTS
fail() { echo "FAIL: $*"; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/picture_geometry.sh"
shot() { import -window root "$ART/match_$1.png"; }
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

start_game() {
  ./korvid > game.log 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window"
  xdotool windowfocus --sync "$wid"
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
