#!/usr/bin/env bash
# Plays the real game under Xvfb for a long time: matches on the hardest difficulty (weapon
# changes, the scope, the machine gun held and reloaded, then the end-to-end hunter turning,
# firing and reloading until the player dies), the name entry declined where it opens, and a
# round trip through the operation pages. Prints resident memory over time, counts GL errors (the
# game runs with KORVID_GL_DEBUG=1) and sums up the game's own figures of each ten seconds: steps
# per second, live sound sources, resident memory (KORVID_STATS). Not part of the test suite.
#   SOAK_SECONDS  how long to play (default 3600)
#   BUILD_DIR     build folder holding game/korvid and tests/e2e/e2e_hunt_enemy (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --inside ]; then
  BUILD_DIR=${BUILD_DIR:-build}
  export SOAK_SECONDS=${SOAK_SECONDS:-3600}
  export KORVID_E2E_HUNT_ENEMY=$(realpath "$BUILD_DIR/tests/e2e/e2e_hunt_enemy")
  export KORVID_E2E_WORK=$(mktemp -d) KORVID_E2E_ARTIFACTS=$(realpath -m "$BUILD_DIR/soak-artifacts")
  trap 'rm -rf "$KORVID_E2E_WORK"' EXIT
  mkdir -p "$KORVID_E2E_ARTIFACTS"
  cp "$BUILD_DIR/game/korvid" "$KORVID_E2E_WORK/korvid"
  ln -s "$(realpath "$BUILD_DIR/game/File")" "$KORVID_E2E_WORK/File"
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$PWD/scripts/soak.sh" --inside
fi

HERE=$PWD/tests/e2e
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK KORVID_GL_DEBUG=1 KORVID_STATS=10
source "$HERE/match_common.sh"
first_run
set_setting 0 2  # the hardest difficulty: the matches end sooner
start_game
GAME_PID=$pid GAME_WINDOW=$wid
source "$HERE/menu_helpers.sh"  # its shot takes a file name
# A failure keeps the screen and the game's output.
fail() {
  echo "FAIL: $*"
  import -window root "$KORVID_E2E_ARTIFACTS/soak_failed.png" || true
  cp game.log "$KORVID_E2E_ARTIFACTS/soak.game.log" || true
  exit 1
}
# The menu cursor stays where the last visit left it: first into the menu space's top left
# corner, then down and a little right onto item k. The game takes only part of quick relative
# motion, so the way to the corner is paced and far longer than the screen.
to_corner() {
  local args=()
  for _ in $(seq 1 100); do args+=(mousemove_relative -- -60 -60 sleep 0.025); done
  xdotool "${args[@]}"
}
# The unlit look of the items is taken again at the corner: where the menu first settled, the
# cursor may have been lighting the very item sought.
to_item() {
  to_corner
  sleep 0.3
  shot menu_in_place.ppm
  hover_item "$1" "$2" 6 "$3"
}
begin_match() {
  wait_for_menu
  to_item 0 2 menu.png  # "ゲームスタート"
  click
}
rss() { awk '/VmRSS/ { print int($2 / 1024) }' "/proc/$pid/status"; }

matches=0 start=$SECONDS warm=""
echo "seconds  matches  RSS MB"
while [ $((SECONDS - start)) -lt "$SOAK_SECONDS" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended: $(tail -5 game.log)"
  touch ranking_before.dat
  begin_match
  for _ in $(seq 1 60); do
    sleep 0.5
    import -window root faded.png
    [ "$(dark faded.png)" = "0" ] && break
  done
  # Every weapon in hand, the rifle's scope up and down, the machine gun held and reloaded.
  for key in 2 3 1; do xdotool key "$key"; sleep 1.5; done
  xdotool key 2; sleep 1.5; xdotool click 3; sleep 1; xdotool click 3; sleep 0.5
  xdotool key 1; sleep 1.5
  xdotool mousedown 1; sleep 1.2; xdotool mouseup 1; sleep 0.3; xdotool key r; sleep 2
  import -window root "$KORVID_E2E_ARTIFACTS/soak_hunt_start.png"
  timeout 400 "$KORVID_E2E_HUNT_ENEMY" 390 Ranking.dat ranking_before.dat > hunt.log || true
  [ Ranking.dat -nt ranking_before.dat ] || fail "a match did not end: $(tail -3 hunt.log)"
  matches=$((matches + 1))
  # The name entry, where the score ranks, is declined; then a click back to the title.
  sleep 3
  import -window root "$KORVID_E2E_ARTIFACTS/soak_match_end.png"
  xdotool mousemove 583 563 click 1
  sleep 2
  import -window root "$KORVID_E2E_ARTIFACTS/soak_entry_declined.png"
  xdotool click 1
  wait_for_menu
  # A round trip through the operation pages.
  to_item 1 6 hover.png  # "操作説明"
  for page in Operation01.bmp Operation02.bmp Operation03.bmp; do click_until 1 page.png shows "$page"; done
  click_until 1 title.png title_in_place
  now=$(rss)
  [ -n "$warm" ] || warm=$now
  echo "$((SECONDS - start))  $matches  $now"
done
errors=$(grep -c "GL error" game.log || true)
echo "matches: $matches; resident memory after the first match ${warm} MB, now $(rss) MB; GL errors: $errors"
cp game.log "$KORVID_E2E_ARTIFACTS/soak.game.log"
# The game's figures of each ten seconds, the first minute (loading, warm-up) left out.
awk '/korvid: stats/ { n++; if (n <= 6) next
       steps = $3; sources = $7; mb = $9; m++; sum += steps
       if (m == 1 || steps < lo) lo = steps; if (m == 1 || steps > hi) hi = steps
       if (m == 1 || sources < slo) slo = sources; if (m == 1 || sources > shi) shi = sources
       if (m == 1) first = mb; if (m == 1 || mb > top) top = mb; last = mb }
     END { if (m) printf "periods: %d; steps/s mean %.2f, lowest %.2f, highest %.2f; " \
                         "sound sources %d..%d; resident MB first %.1f, highest %.1f, last %.1f\n",
                         m, sum / m, lo, hi, slo, shi, first, top, last }' game.log
quit_game
[ "$errors" = 0 ] || fail "GL errors: $(grep "GL error" game.log | sort | uniq -c | head)"
