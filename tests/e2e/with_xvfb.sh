#!/usr/bin/env bash
# Runs a command on a private Xvfb screen: with_xvfb.sh WxHxD COMMAND [ARGS...]
# The server picks a free display number itself (-displayfd), so runs started side by side never
# race for the same one, as two "xvfb-run -a" can: the loser then runs its command against the
# winner's screen without its cookie and cannot open the display at all.
set -euo pipefail
SCREEN=$1; shift
DIR=$(mktemp -d)
XVFB_PID=
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$DIR"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp 3>"$DIR/display" 2>"$DIR/xvfb.log" &
XVFB_PID=$!
# The number is written once the server accepts connections.
for _ in $(seq 300); do
  grep -q '^[0-9][0-9]*$' "$DIR/display" 2>/dev/null && break
  kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb did not start: $(cat "$DIR/xvfb.log")" >&2; exit 1; }
  sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$DIR/display" || { echo "Xvfb gave no display within 30 s" >&2; exit 1; }
export DISPLAY=:$(cat "$DIR/display")
unset XAUTHORITY
status=0
"$@" || status=$?
exit "$status"
