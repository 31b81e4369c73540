#!/usr/bin/env bash
# Runs inside Xvfb: the installed (and then moved) program from a fresh home, with a player's own
# File folder in front of the installed pack, with XDG_DATA_HOME, and in a classic game folder.
# Usage: installed_game.sh BUILD_DIR BUILT_PACK ARTIFACTS
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
BUILD=$1 PACK=$2 ARTIFACTS=$3
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$BUILD" --prefix "$WORK/prefix" > "$WORK/install.log"
# The program must find its pack relative to itself, wherever the tree is.
mv "$WORK/prefix" "$WORK/moved"
GAME=$WORK/moved/bin/korvid
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$WORK/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset XDG_DATA_HOME
mkdir "$WORK/elsewhere"

top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }

# Starts the game in the current folder; sets PID and WID once its window shows.
start() {
  "$GAME" > "$WORK/game.log" 2>&1 &
  PID=$!
  WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' | head -1) || fail "no Korvid window: $(cat "$WORK/game.log")"
}

# Escape on the title ends the game with code 0 (ignored for its first ten frames: press until it goes).
quit() {
  for _ in $(seq 1 40); do
    kill -0 "$PID" 2> /dev/null || break
    xdotool windowfocus --sync "$WID" key Escape 2> /dev/null || true
    sleep 0.5
  done
  local code=0
  wait "$PID" || code=$?
  [ "$code" -eq 0 ] || fail "exit code $code: $(cat "$WORK/game.log")"
}

# Waits until the loading line has given way to the title: a loading frame is black but for its
# line at the bottom; the title either covers the screen or, while it has no picture, is all black.
wait_for_title() {
  local shot=$WORK/poll.png
  for _ in $(seq 1 120); do
    kill -0 "$PID" 2> /dev/null || fail "the game ended while loading: $(cat "$WORK/game.log")"
    import -window root "$shot"
    above=$(convert "$shot" -crop 1280x900+0+0 -format '%[fx:maxima]' info:)
    line=$(convert "$shot" -crop 1280x124+0+900 -format '%[fx:maxima]' info:)
    if [ "$above" != 0 ] || [ "$line" = 0 ]; then
      cp "$shot" "$1"
      return
    fi
    sleep 0.5
  done
  fail "still loading after a minute"
}

expect_game_files() {
  [ "$(stat -c %s "$1/Setting.dat")" -eq 442 ] || fail "$1/Setting.dat is not 442 bytes"
  [ "$(stat -c %s "$1/Ranking.dat")" -eq 631 ] || fail "$1/Ranking.dat is not 631 bytes"
}

# 1. A fresh home: the per-user folder is made and holds the two files; nothing lands in the current folder.
export HOME=$WORK/home
mkdir "$HOME"
cd "$WORK/elsewhere"
start
wait_for_title "$ARTIFACTS/installed_fresh_home.png"
sleep 1
kill -0 "$PID" 2> /dev/null || fail "the game ended by itself: $(cat "$WORK/game.log")"
quit
USERDIR=$HOME/.local/share/korvid
expect_game_files "$USERDIR"
[ "$(stat -c %a "$USERDIR")" = 700 ] || fail "the per-user folder is open to others"
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "files were written in the current folder: $(ls -A)"

# 2. The player's own File folder wins for the files it holds, in any letter case: a damaged
# title picture there stops start-up with the picture error although the installed one is fine.
mkdir -p "$USERDIR/file/BITMAP"
head -c 1000 "$PACK/Bitmap/Title.dds" > "$USERDIR/file/BITMAP/title.DDS"
top_windows > "$WORK/before.txt"
"$GAME" > "$WORK/game.log" 2>&1 &
PID=$!
box=""
for _ in $(seq 1 150); do
  sleep 0.1
  for w in $(top_windows | comm -13 "$WORK/before.txt" -); do
    info=$(xwininfo -id "$w" 2> /dev/null) || continue
    if grep -q 'Map State: IsViewable' <<< "$info" && ! grep -q '"Korvid"' <<< "$info"; then box=$w; fi
  done
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "no picture error from the player's damaged Title.dds: $(cat "$WORK/game.log")"
import -window root "$ARTIFACTS/installed_player_file_error.png"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove --window "$box" $((WIDTH / 2)) $((HEIGHT - 26)) click 1
timeout 10 tail --pid="$PID" -f /dev/null || fail "the game still waits after the error"
wait "$PID" || true
# Without it the installed picture is read again.
rm "$USERDIR/file/BITMAP/title.DDS"
start
quit

# 3. XDG_DATA_HOME names where the per-user folder goes.
export XDG_DATA_HOME=$WORK/data HOME=$WORK/home2
mkdir "$HOME"
start
quit
expect_game_files "$XDG_DATA_HOME/korvid"
[ ! -e "$HOME/.local" ] || fail "the per-user folder ignored XDG_DATA_HOME"
unset XDG_DATA_HOME

# 4. A classic game folder in the current directory is used as before, and the home is left alone.
export HOME=$WORK/home3
mkdir "$HOME" "$WORK/classic"
ln -s "$WORK/moved/share/korvid/File" "$WORK/classic/File"
cd "$WORK/classic"
start
quit
expect_game_files "$WORK/classic"
[ ! -e "$HOME/.local" ] || fail "a classic folder run made a per-user folder"
echo "PASS: installed game"
