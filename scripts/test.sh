#!/usr/bin/env bash
# Builds Korvid (installing what is missing) and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600
