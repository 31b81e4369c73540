#!/usr/bin/env bash
# Builds the game, the tools and every test with AddressSanitizer and UndefinedBehaviorSanitizer,
# then runs the whole suite, end-to-end runs included.  BUILD_DIR sets the build folder
# (default build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
export BUILD_DIR=${BUILD_DIR:-build-asan}
# Leaks inside the system's own libraries (the GL driver, fontconfig, the sound server
# clients) are theirs, not ours: tests/sanitizer/lsan.supp names them.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_odr_violation=0
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
KORVID_CMAKE_ARGS="-DKORVID_SANITIZE=ON" ./scripts/setup.sh
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
ctest --test-dir "$BUILD_DIR" --output-on-failure -j"$(nproc)" --timeout 900
