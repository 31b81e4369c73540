#!/usr/bin/env bash
# Records the kept demo (run by hand, not by the suite): inside Xvfb (run_in_xvfb.sh), a match
# on the easiest difficulty played by the hunter under --record until two kills and the
# player's death. The demo is copied to $KORVID_DEMO_OUT.
# The script runs in a folder of its own, so every path given is absolute:
#   KORVID_E2E_HUNT_ENEMY=$PWD/build/tests/e2e/e2e_hunt_enemy KORVID_DEMO_OUT=$PWD/hunt.kvd \
#     tests/e2e/run_in_xvfb.sh record_demo.sh $PWD/build/game/korvid $PWD/build/game/File /tmp/record-art
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
HERE=$(cd "$(dirname "$0")" && pwd)
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
source "$HERE/match_common.sh"
OUT=${KORVID_DEMO_OUT:?where the demo goes}
KILLS=${KORVID_DEMO_KILLS:-2}

# The hunter does not always score: a match with too few kills is played again, from a fresh
# start, up to ATTEMPTS times.
ATTEMPTS=${KORVID_DEMO_ATTEMPTS:-6}
for attempt in $(seq 1 "$ATTEMPTS"); do
  rm -f Setting.dat Ranking.dat match.kvd
  hunt_setup 0
  start_game --record "$PWD/match.kvd"
  start_match _record
  wait_fade_in faded
  hunt 880 "$KILLS"
  sleep 2
  shot "record_result_$attempt"
  quit_game
  line=$(grep "korvid: recorded" game.log) || fail "nothing recorded: $(cat game.log)"
  echo "attempt $attempt: $line"
  score=$(echo "$line" | sed -n 's/.*score \([0-9]*\),.*/\1/p')
  if [ "${score:-0}" -ge "${KORVID_DEMO_MIN_SCORE:-2}" ] && ! echo "$line" | grep -q "closed before"; then
    cp match.kvd "$OUT"
    echo "PASS: recorded $(stat -c %s match.kvd) bytes"
    exit 0
  fi
done
fail "no match with enough kills in $ATTEMPTS attempts"
