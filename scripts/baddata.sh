#!/usr/bin/env bash
# Starts the real game under Xvfb once for each damaged data file: truncated, empty, padded to
# 2 GB (sparse) and random bytes, one file at a time. Each start must end in that file's own
# message box or in a clean start, never in a crash or a hang. Prints a Markdown table.
#   BUILD_DIR  build folder holding game/korvid and game/File (default build)
#   FILES      which files (paths below the game folder); default: one of every kind, or
#              every file the game reads with ALL=1
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
GAME=$(realpath "$BUILD_DIR/game/korvid")
PACK=$(realpath "$BUILD_DIR/game/File")
if [ -z "${FILES:-}" ]; then
  if [ -n "${ALL:-}" ]; then
    FILES="Setting.dat Ranking.dat $(cd "$BUILD_DIR/game" && find File -type f | sort | tr '\n' ' ')"
  else
    FILES="Setting.dat Ranking.dat File/Bitmap/Title.dds File/Bitmap/Credit.bmp File/XFile/Tree.x
           File/Sound/Heartbeat_4.wav File/Sound/MenuMusic.wav File/Sound/midi_my.mid"
  fi
fi
exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$(dirname "$0")/../tests/e2e/bad_data_run.sh" \
  "$GAME" "$PACK" $FILES
