#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): the settings window from the title, driven from the
# keyboard as a player would: save a new difficulty and volume, rebind a key and save, then an
# edit, the version dialog and the all-defaults question, all dropped by cancelling.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
ART=$KORVID_E2E_ARTIFACTS
fail() { echo "FAIL: $*"; exit 1; }
shot() { import -window root "$1"; }
difference() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Field n (file order) of Setting.dat, unmasked with the key of its header line.
field() {
  local header key value
  header=$(head -c 8 Setting.dat)
  key=$((10#$header ^ 79876519))
  value=$(tail -c +11 Setting.dat | cut -d, -f$(($1 + 1)))
  echo $((10#$value ^ key))
}

keys() { xdotool key --delay 150 "$@"; sleep 0.3; }
# Whether the game still runs: an ended child stays a zombie until waited for, and kill -0
# still reaches a zombie.
running() { [ "$(awk '{print $3}' "/proc/$GAME_PID/stat" 2>/dev/null)" != Z ] && kill -0 "$GAME_PID" 2>/dev/null; }

./korvid > game.log 2>&1 &
GAME_PID=$!
WIN=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window"
xdotool windowfocus --sync "$WIN"

# The title menu has settled when item 0, the last to slide in, shows its picture in place.
source "$(dirname "$0")/menu_helpers.sh"
crop_item() { convert "$1" -crop "$(ref_crop 330 165 $2)" +repage "$3"; }
crop_item3() { crop_item "$1" "153 784" "$2"; }
wait_for_menu
convert menu_in_place.ppm menu.png

# Moves the software cursor from the middle down and left until "設定" (item 3) lights up,
# clicks it, and waits for the window to be drawn over the settings backdrop.
open_settings() {
  local lit=""
  crop_item3 menu.png unlit.png
  for _ in $(seq 1 80); do
    local args=()
    for _ in $(seq 1 8); do args+=(mousemove_relative -- -8 8 sleep 0.004); done
    xdotool "${args[@]}"
    sleep 0.15
    shot hover.png
    crop_item3 hover.png now.png
    if ! below "$(difference unlit.png now.png)" 0.1; then lit=1; break; fi
  done
  [ -n "$lit" ] || fail "the settings item never lit"
  xdotool click 1
  sleep 2.5
  shot "$1"
  # The settings window is modal: the title's own picture must be gone from the middle.
  below "$(difference menu.png "$1")" 0.02 && fail "no settings window ($1)"
  return 0
}

# Back on the title after a window closed: the cursor, still on "設定", goes back up to the
# middle, and the unlit menu is the new reference.
back_to_title() {
  sleep 2
  running || fail "the game ended: $(cat game.log)"
  for _ in $(seq 1 12); do
    local args=()
    for _ in $(seq 1 8); do args+=(mousemove_relative -- 8 -8 sleep 0.004); done
    xdotool "${args[@]}"
  done
  sleep 1
  shot menu.png
}

# 1. Difficulty one step up, effects volume to its lowest, save.
open_settings "$ART/settings_game_page.png"
before=$(md5sum < Setting.dat)
keys Tab Tab Down                     # the tab control, then the difficulty list
keys ctrl+Tab
shot "$ART/settings_graphics_page.png"
# The pointer over the resolution list brings its help text into the "説明" box.
eval "$(xdotool getmouselocation --shell)"
xdotool mousemove --sync $((X - 200)) $((Y - 80))
sleep 0.8
shot "$ART/settings_graphics_help.png"
below "$(difference "$ART/settings_graphics_page.png" "$ART/settings_graphics_help.png")" 0.001 &&
  fail "no help text under the pointer"
xdotool mousemove --sync "$X" "$Y"
keys ctrl+Tab
shot "$ART/settings_sound_page.png"
keys Tab Tab Tab Tab Home             # music box, music volume, effects box, effects volume
shot "$ART/settings_sound_changed.png"
keys ctrl+Tab
shot "$ART/settings_keys_page.png"
keys ctrl+Tab
shot "$ART/settings_other_page.png"
keys ctrl+shift+Tab ctrl+shift+Tab ctrl+shift+Tab ctrl+shift+Tab
keys Tab shift+Tab shift+Tab          # the tab control, then around to "設定の保存"
keys space
back_to_title
[ "$(md5sum < Setting.dat)" != "$before" ] || fail "saving left Setting.dat as it was"
[ "$(field 0)" -eq 2 ] || fail "difficulty $(field 0) after saving"
[ "$(field 17)" -eq 10 ] || fail "effects volume $(field 17) after saving"
[ "$(field 16)" -eq 50 ] || fail "music volume $(field 16) changed"

# 2. Rebind "前進" to B and save: the page names it, the file holds its code.
open_settings "$ART/settings_before_rebind.png"
keys ctrl+Tab ctrl+Tab ctrl+Tab
# The window is centred on the 1280 x 1024 screen: forward's "変更" and "設定の保存" lie here.
xdotool mousemove --sync 620 481 click 1
sleep 0.8
shot "$ART/settings_key_capture.png"
keys b
shot "$ART/settings_key_rebound.png"
xdotool mousemove --sync 838 669 click 1
back_to_title
[ "$(field 23)" -eq 66 ] || fail "forward is bound to $(field 23), not B"
[ "$(field 19)" -eq 0 ] || fail "the preset is $(field 19), not custom"

# 3. An edit, the version dialog closed with Enter, the all-defaults question answered Yes,
#    then Escape: nothing is stored.
open_settings "$ART/settings_reopened.png"
before=$(md5sum < Setting.dat)
keys Tab Tab Up                       # the difficulty list one step down
keys shift+Tab shift+Tab shift+Tab shift+Tab  # the tab control, save, cancel, "バージョン情報"
keys space
sleep 0.5
shot "$ART/settings_version_dialog.png"
keys Return
sleep 0.5
shot "$ART/settings_after_version.png"
below "$(difference "$ART/settings_version_dialog.png" "$ART/settings_after_version.png")" 0.002 &&
  fail "Enter did not close the version dialog"
top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }
top_windows > windows_before.txt
keys shift+Tab                       # "全てをディフォルトに戻す"
xdotool key space &
box=""
for _ in $(seq 1 50); do
  sleep 0.2
  for w in $(top_windows | comm -13 windows_before.txt -); do
    if xwininfo -id "$w" | grep -q 'Map State: IsViewable'; then box=$w; fi
  done
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no question for all defaults"
sleep 0.5
shot "$ART/settings_defaults_question.png"
xdotool windowfocus --sync "$box" key Return || xdotool key Return
sleep 1
xdotool windowfocus --sync "$WIN" || true
shot "$ART/settings_defaults_shown.png"
# Held long enough for the server to repeat it into the title behind the closed window.
xdotool keydown Escape; sleep 1.5; xdotool keyup Escape
back_to_title
[ "$(md5sum < Setting.dat)" = "$before" ] || fail "defaults then cancel changed Setting.dat"
[ "$(field 0)" -eq 2 ] || fail "difficulty $(field 0) after defaults and cancel"

# Escape on the title ends the game; the Escape that cancelled the window, repeats and all,
# must not have reached the title.
running || fail "the game ended before Escape on the title"
# The game may close its window on the press, before xdotool sends the release.
xdotool key --window "$WIN" Escape 2>/dev/null || true
timeout 10 tail --pid="$GAME_PID" -f /dev/null || fail "Escape did not end the game"
code=0
wait "$GAME_PID" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "PASS: settings window"
