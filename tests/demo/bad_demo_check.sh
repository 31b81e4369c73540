#!/usr/bin/env bash
# Demo files that cannot be replayed: each is refused with its reason on standard error and
# exit status 2, promptly, before any window opens.
# Usage: bad_demo_check.sh GAME DEMO
set -euo pipefail
GAME=$1 DEMO=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
export XDG_RUNTIME_DIR=$WORK ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen
size=$(stat -c %s "$DEMO")
printf 'KORVDEMX' > wrong_magic.kvd; tail -c +9 "$DEMO" >> wrong_magic.kvd
{ head -c 8 "$DEMO"; printf '\x07\x00'; tail -c +11 "$DEMO"; } > future.kvd
head -c $((size / 2)) "$DEMO" > truncated.kvd
head -c 10 "$DEMO" > header_only.kvd
# The step count (after the 442-byte settings record) claims far more steps than there are.
offset=$((8 + 2 + 1 + $(od -An -tu1 -j10 -N1 "$DEMO") + 4 + 442))
state=$(od -An -tu4 -j"$offset" -N4 "$DEMO" | tr -d ' ')
{ head -c $((offset + 4 + state)) "$DEMO"; printf '\x00\x00\x10\x00'; tail -c +$((offset + 4 + state + 5)) "$DEMO"; } > count_past_end.kvd
head -c 5000 /dev/urandom > random.kvd
: > empty.kvd
mkdir folder.kvd
fail=0
check() {
  local file=$1 reason=$2 status=0
  timeout 20 "$GAME" "$3" "$file" > out.txt 2> err.txt || status=$?
  if [ "$status" != 2 ] || ! grep -q "^korvid: cannot replay $file: .*$reason" err.txt; then
    echo "FAIL: $file ($3): status $status, said: $(cat err.txt)"
    fail=1
  else
    echo "ok: $file: $(grep '^korvid:' err.txt)"
  fi
}
check wrong_magic.kvd "not a Korvid demo" --timedemo
check future.kvd "newer Korvid" --play
check truncated.kvd "cut short" --timedemo
check header_only.kvd "cut short" --play
check count_past_end.kvd "" --timedemo
check random.kvd "not a Korvid demo" --timedemo
check empty.kvd "not a Korvid demo" --play
check folder.kvd "cannot be read" --timedemo
check missing.kvd "no such file" --play
for f in Setting.dat Ranking.dat; do [ ! -e "$f" ] || { echo "FAIL: $f was written"; fail=1; }; done
[ $fail = 0 ] && echo "PASS: every damaged demo was refused with status 2"
exit $fail
