#!/usr/bin/env bash
# Runs one end-to-end script inside Xvfb, in a fresh game folder holding a copy of the program.
# Usage: run_in_xvfb.sh INNER_SCRIPT GAME FILES ARTIFACTS
set -euo pipefail
INNER=$1 GAME=$2 FILES=$3 ARTIFACTS=$4
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
# The game's own output is kept beside the screenshots: it tells why a run failed.
trap 'cp "$WORK/game.log" "$ARTIFACTS/${INNER%_inner.sh}.game.log" 2>/dev/null || true; rm -rf "$WORK"' EXIT
cp "$GAME" "$WORK/korvid"
ln -s "$FILES" "$WORK/File"
export KORVID_E2E_WORK=$WORK KORVID_E2E_ARTIFACTS=$ARTIFACTS
# The texts are the Japanese ones whatever the desktop's language; a run in another language
# sets LANGUAGE itself.
export LC_ALL=C.UTF-8
unset LANGUAGE
# A run may ask for another screen (KORVID_E2E_SCREEN, e.g. 1280x720x24 for a 16:9 one).
"$(dirname "$0")/with_xvfb.sh" "${KORVID_E2E_SCREEN:-1280x1024x24}" "$(dirname "$0")/$INNER"
