#!/usr/bin/env bash
# First run as a new player would: the window opens, a second start is refused, Escape quits
# with code 0, and Setting.dat and Ranking.dat hold the defaults.
set -euo pipefail
GAME=$1 FILES=$2 ARTIFACTS=$3
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$GAME" "$WORK/korvid"
ln -s "$FILES" "$WORK/File"
export KORVID_E2E_WORK=$WORK KORVID_E2E_ARTIFACTS=$ARTIFACTS
exec xvfb-run -a -s '-screen 0 1280x1024x24' "$(dirname "$0")/first_run_inner.sh"
