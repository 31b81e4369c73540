#!/usr/bin/env bash
# Shared by the menu end-to-end scripts: starting the game, moving the software cursor with
# relative motion, and telling screens apart in screenshots (places as on a 1280 x 1024 picture).
fail() { echo "FAIL: $*"; exit 1; }
# The pictures the game shows: a language run names its folder of the pack.
PICTURES=${PICTURES:-File/Bitmap}
source "$(dirname "${BASH_SOURCE[0]}")/picture_geometry.sh"

# Starts the game in the work folder; sets GAME_PID and GAME_WINDOW.
start_game() {
  ./korvid > game.log 2>&1 &
  GAME_PID=$!
  GAME_WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) ||
    fail "no Korvid window"
  xdotool windowfocus --sync "$GAME_WINDOW"
}

# Screenshots: uncompressed while working, PNG where a picture is kept.
shot() { import -window root "$1"; }
keep() { convert "$1" "$2"; }

# Normalised root-mean-square difference (0 same .. 1 opposite) of two pictures.
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
# True when the first number is below the second.
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Menu item k (0..5) as it lies on screen with the menu in place (depth 1500).
ITEM_X=(63 475 887 63 475 887)
ITEM_Y=(594 594 594 784 784 784)
item_crop() { convert "$1" -crop "$(ref_crop 330 165 "${ITEM_X[$2]}" "${ITEM_Y[$2]}")" +repage "$3"; }

# A picture shrunk to 32 x 32, as one channel value per line; a screenshot without its bars.
thumb_values() {
  local crop=()
  case "$1" in File/*) ;; *) crop=(-crop "$(picture_crop)" +repage) ;; esac
  convert "$1" "${crop[@]}" -resize '32x32!' -depth 8 rgb:- | od -An -v -tu1 | tr -s ' ' '\n' | sed '/^$/d'
}

# Which of the named File/Bitmap pictures the screenshot shows, by the closest thumbnail.
closest_picture() {
  local shot=$1; shift
  thumb_values "$shot" > shot.vals
  local refs=()
  for name in "$@"; do
    # A picture without words has no copy in a language folder.
    local file=$PICTURES/$name
    [ -f "$file" ] || file=File/Bitmap/$name
    [ -f "vals_$name" ] || thumb_values "$file" > "vals_$name"
    refs+=("vals_$name")
  done
  awk 'FNR == 1 { file++ }
       file == 1 { shot[FNR] = $1; next }
       { d = $1 - shot[FNR]; sum[FILENAME] += d * d }
       END { for (k in sum) if (best == "" || sum[k] < sum[best]) best = k
             sub(/^vals_/, "", best); print best }' shot.vals "${refs[@]}"
}

# Relative motion in quick small moves, as a real mouse reports it: the game reads the motion
# of its last poll on each move message, so sparse moves would be lost.
move_by() {
  local dx=$1 dy=$2 steps=${3:-12} args=()
  for _ in $(seq 1 "$steps"); do args+=(mousemove_relative -- "$dx" "$dy" sleep 0.004); done
  xdotool "${args[@]}"
}

# Waits until the slide-in has finished: item 0, the last to arrive, shows its picture in place.
wait_for_menu() {
  convert "$PICTURES/Menu1a.bmp" -resize "$(ref_w 330)x$(ref_h 165)!" item0_picture.ppm
  for _ in $(seq 1 60); do
    sleep 0.5
    shot menu_wait.ppm
    item_crop menu_wait.ppm 0 item0_now.ppm
    if below "$(difference item0_now.ppm item0_picture.ppm)" 0.06; then
      cp menu_wait.ppm menu_in_place.ppm
      return 0
    fi
  done
  fail "the menu never came into place"
}

# Moves the cursor by (dx, dy) per burst until item k is drawn lit (compared with its unlit
# look in menu_in_place.ppm); keeps the screenshot as $4.
hover_item() {
  local k=$1 dx=$2 dy=$3 out=$4
  item_crop menu_in_place.ppm "$k" unlit.ppm
  for _ in $(seq 1 60); do
    move_by "$dx" "$dy"
    sleep 0.1
    shot hover.ppm
    item_crop hover.ppm "$k" now.ppm
    if ! below "$(difference unlit.ppm now.ppm)" 0.1; then
      keep hover.ppm "$out"
      return 0
    fi
  done
  fail "item $k never lit"
}

click() { xdotool click "${1:-1}"; }

# Root-mean-square distance of a screenshot's thumbnail from saved thumbnail values.
thumb_distance() {
  thumb_values "$1" > now.vals
  awk 'FNR == NR { a[FNR] = $1; next } { d = $1 - a[FNR]; s += d * d; n++ }
       END { printf "%.2f\n", sqrt(s / n) }' "$2" now.vals
}

# Clicks until the check (a command given the screenshot) holds. A screen ignores clicks for
# its first frames, which a slow machine may still be drawing: while the screen stays as it
# was (no noise has come between), the click was not taken and is given again.
click_until() {
  local button=$1 out=$2; shift 2
  shot screen.ppm
  thumb_values screen.ppm > before.vals
  click "$button"
  local unchanged=0
  for _ in $(seq 1 40); do
    sleep 0.3
    shot screen.ppm
    if "$@" screen.ppm; then
      keep screen.ppm "$out"
      return 0
    fi
    if below "$(thumb_distance screen.ppm before.vals)" 4; then
      unchanged=$((unchanged + 1))
      if [ "$unchanged" -ge 3 ]; then
        click "$button"
        unchanged=0
      fi
    else
      unchanged=0
    fi
  done
  keep screen.ppm "$out"
  fail "the click did not lead where expected ($out)"
}

# Checks for click_until: the screen shows this picture rather than the other pages.
PAGES=(Operation01.bmp Operation02.bmp Operation03.bmp Credit.bmp Noise01.bmp Noise02.bmp Noise03.bmp)
shows() { [ "$(closest_picture "$2" "${PAGES[@]}")" = "$1" ]; }
# The title with its menu in place: item 2 looks as it did when the menu first settled.
title_in_place() {
  item_crop "$1" 2 item2_now.ppm
  item_crop menu_in_place.ppm 2 item2_then.ppm
  below "$(difference item2_now.ppm item2_then.ppm)" 0.05
}
