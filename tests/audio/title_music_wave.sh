#!/usr/bin/env bash
# Runs the game for a few seconds on OpenAL Soft's wave backend and checks that the title
# music really reached the file, and that nothing from OpenAL or ALSA reached the terminal.
set -u
korvid=$1
game=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[general]\ndrivers = wave\n[wave]\nfile = %s/out.wav\n' "$work" >"$work/alsoft.conf"

cd "$game" || exit 1
ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave SDL_VIDEODRIVER=offscreen \
  "$korvid" >"$work/log" 2>&1 &
pid=$!
# Start-up on a loaded software renderer can take a few seconds before the title runs.
sleep 10
# SDL turns SIGTERM into a quit request; the device closes and finishes the file.
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

if grep -q "2重起動" "$work/log"; then
  echo "SKIP: another instance of the game is running on this machine"
  exit 77
fi
if grep -E "AL lib|ALSA lib|fluidsynth" "$work/log"; then
  echo "FAIL: sound libraries wrote to the terminal"
  exit 1
fi
[ -s "$work/out.wav" ] || { echo "FAIL: no output written"; cat "$work/log"; exit 1; }
length=$(sox "$work/out.wav" -n stat 2>&1 | awk '/^Length/ {print int($3)}')
audible=0
levels=""
for ((s = 0; s < ${length:-0}; ++s)); do
  rms=$(sox "$work/out.wav" -n trim "$s" 1 stat 2>&1 | awk '/^RMS +amplitude/ {print $3}')
  levels="$levels ${rms:-?}"
  awk -v r="${rms:-0}" 'BEGIN { exit !(r > 0.005) }' && audible=$((audible + 1))
done
echo "RMS amplitude per second of output:$levels"
[ "$audible" -ge 2 ] || { echo "FAIL: expected at least two seconds of audible title music"; exit 1; }
