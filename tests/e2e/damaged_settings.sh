#!/usr/bin/env bash
# A damaged Setting.dat is repaired section by section, one message each, before any window.
set -euo pipefail
GAME=$1 FILES=$2 ARTIFACTS=$3
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$GAME" "$WORK/korvid"
ln -s "$FILES" "$WORK/File"
export KORVID_E2E_WORK=$WORK KORVID_E2E_ARTIFACTS=$ARTIFACTS
exec xvfb-run -a -s '-screen 0 1280x1024x24' "$(dirname "$0")/damaged_settings_inner.sh"
