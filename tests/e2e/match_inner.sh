#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): a match played with real input:
# started from the title menu, the rifle's scope raised, turned with the mouse, the machine gun
# fired and reloaded.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$(dirname "$0")/match_common.sh"

first_run
# The player must live through all of this on a slow machine too: the debug mode's invincible
# switch (the other debug switches keep their defaults).
set_setting 34 1
set_setting 35 1

start_game
start_match ""
# The fade-in lightens by a step each drawn frame, so at a full frame rate it is dark for only
# a second or two after the transition's noise: look for it from 0.8 s on.
sleep 0.8
began_black=0
for _ in $(seq 1 12); do
  shot fade_in
  [ "$(dark "$ART/match_fade_in.png")" = "1" ] && { began_black=1; break; }
  sleep 0.1
done
[ "$began_black" = "1" ] || fail "the match did not begin black"
for _ in $(seq 1 60); do
  sleep 0.5
  shot faded
  [ "$(dark "$ART/match_faded.png")" = "0" ] && break
done
alive

# The rifle's scope is black outside its circle.
xdotool key 2
sleep 2.5
shot rifle
xdotool click 3
sleep 1.5
shot scope
[ "$(dark "$ART/match_rifle.png")" = "0" ] || fail "the view was dark before the scope"
[ "$(dark "$ART/match_scope.png")" = "1" ] || fail "no scope over the view"
xdotool click 3
sleep 1
xdotool key 1
sleep 2.5
alive

# Turning: the view changes with relative mouse motion to the right.
shot before_turn
for _ in $(seq 1 8); do xdotool mousemove_relative -- 12 0; sleep 0.05; done
sleep 0.5
shot after_turn
turned=$(differ "$ART/match_before_turn.png" "$ART/match_after_turn.png" "$(ref_crop 1000 700 140 100)")
[ "${turned:-0}" -gt 20000 ] || fail "the view did not turn ($turned pixels changed)"

# Looking down a little (the mouse moved up) so the impacts land close; the ammunition count
# sits in the bottom right.
for _ in $(seq 1 6); do xdotool mousemove_relative -- 0 -12; sleep 0.05; done
sleep 0.5
AMMO=$(ref_crop 210 110 1060 900)
shot full_magazine
xdotool mousedown 1
sleep 0.7
shot firing
sleep 0.3
xdotool mouseup 1
sleep 0.5
shot fired
alive
fallen=$(digits_differ "$ART/match_full_magazine.png" "$ART/match_fired.png" $AMMO)
[ "${fallen:-0}" -gt 200 ] || fail "the ammunition number did not change ($fallen pixels)"
echo "resident memory in the match: $(awk '/VmRSS|VmHWM/ {printf "%s %s kB  ", $1, $2}' /proc/$pid/status)"
xdotool key r
sleep 3
shot reloaded
back=$(digits_differ "$ART/match_full_magazine.png" "$ART/match_reloaded.png" $AMMO)
[ "${back:-1}" -lt 50 ] || fail "R did not bring the magazine back to full ($back pixels differ)"
alive
quit_game

echo "PASS: a match from the menu: scope, turning, firing, reload"
