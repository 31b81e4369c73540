#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): the quit item ends the program with status 0, only after
# the noise transition has been shown.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/menu_helpers.sh"
ART=$KORVID_E2E_ARTIFACTS

start_game
wait_for_menu
# Down and to the right: item 5, bottom right.
hover_item 5 8 8 "$ART/menu_hover_quit.png"
click 1
sleep 0.15
# 21 frames of noise come first: the window is still there.
kill -0 "$GAME_PID" 2>/dev/null || fail "closed without the transition"
shot closing.ppm || true
code=0
timeout 10 tail --pid="$GAME_PID" -f /dev/null || fail "the quit item did not end the game"
wait "$GAME_PID" || code=$?
[ "$code" -eq 0 ] || fail "exit status $code: $(cat game.log)"
keep closing.ppm "$ART/quit_transition.png"
echo "shown while closing: $(closest_picture closing.ppm Noise01.bmp Noise02.bmp Noise03.bmp TitleBack.dds Operation01.bmp)"
echo "PASS: quit item"
