#!/usr/bin/env bash
# Builds Korvid (installing what is missing) and runs it in its game folder.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cd build/game
exec ./korvid
