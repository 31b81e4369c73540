#!/usr/bin/env bash
# Installs the Debian packages Korvid needs (only those missing), then configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libepoxy-dev libglm-dev libstb-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-ipafont-mincho
  libopenal-dev libfluidsynth-dev fluid-soundfont-gm timgm6mb-soundfont libimgui-dev
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libinih-dev
  libassimp-dev  # only the model tests read with it, as a second opinion on the game's reader
  libgl1-mesa-dri libegl-mesa0 libegl-dev
  xvfb xauth xdotool libxtst-dev imagemagick xfonts-base x11-utils x11-xkb-utils
  espeak-ng sox gettext tesseract-ocr tesseract-ocr-eng
  desktop-file-utils appstream file dpkg-dev lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

[ -n "${KORVID_SETUP_ONLY:-}" ] && exit 0

BUILD_DIR=${BUILD_DIR:-build}
# KORVID_CMAKE_ARGS adds configuration options (the sanitizer and fuzzing scripts use it).
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${KORVID_CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" -j"$(nproc)"
