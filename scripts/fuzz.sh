#!/usr/bin/env bash
# Builds every libFuzzer program with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each in turn from the stored seed corpus.
#   FUZZ_SECONDS  time given to each program (default 600)
#   BUILD_DIR     build folder (default build-fuzz)
#   FUZZ_TARGETS  which programs to run (default: all)
#   PACK_DIR      game folder whose File/XFile models also seed the model fuzzer (default build/game)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-600}
FUZZ_TARGETS=${FUZZ_TARGETS:-settings ranking wave bmp dds model options demo}
PACK_DIR=${PACK_DIR:-build/game}

# The game's own packages first, then the compiler with libFuzzer.
KORVID_SETUP_ONLY=1 ./scripts/setup.sh
missing=()
for p in clang libclang-rt-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVID_FUZZ=ON
cmake --build "$BUILD_DIR" -j"$(nproc)" --target $(printf 'fuzz_%s ' $FUZZ_TARGETS)

export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=offscreen
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Leaks inside the system libraries are listed, not ours.
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
status=0
for name in $FUZZ_TARGETS; do
  corpus="$BUILD_DIR/corpus/$name"
  mkdir -p "$corpus" "$BUILD_DIR/findings/$name"
  cp -n tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  # The models also start from the default pack's, where a build has written it.
  if [ "$name" = model ]; then
    if ls "$PACK_DIR"/File/XFile/*.x > /dev/null 2>&1; then
      for f in "$PACK_DIR"/File/XFile/*.x; do cp -n "$f" "$corpus/pack_$(basename "$f")"; done
    else
      echo "   (no default pack in $PACK_DIR: run ./scripts/setup.sh first to seed from it)"
    fi
  fi
  echo "== fuzz_$name for ${FUZZ_SECONDS}s"
  if ! "$BUILD_DIR/fuzz/fuzz_$name" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
      -artifact_prefix="$BUILD_DIR/findings/$name/" -max_len=65536 "$corpus" \
      > "$BUILD_DIR/findings/$name.log" 2>&1; then
    status=1
    echo "   FINDING: see $BUILD_DIR/findings/$name/ and $name.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$BUILD_DIR/findings/$name.log" | sed 's/^/   /' || true
done
exit $status
