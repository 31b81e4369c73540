#!/bin/sh
# Gathers every Japanese text of the program's sources into a message template (po/korvid.pot
# unless another file is named): the Japanese texts are the message ids.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/po/korvid.pot}
cd "$root"
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
# Every string literal is taken; those with a character outside ASCII are the texts a player
# reads (the ASCII ones are file names, keys and lines on standard error). Texts that are data,
# not words on screen, are listed in po/data-texts.pot and left out.
# shellcheck disable=SC2046
xgettext --from-code=UTF-8 --language=C++ --extract-all --add-location=file --sort-output \
  --exclude-file=po/data-texts.pot \
  --package-name=Korvid --package-version="$(sed -n 's/^project(Korvid VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" \
  --msgid-bugs-address=korvid@korvid.example.org \
  -o "$tmp" $(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort) 2>/dev/null
LC_ALL=C.UTF-8 msggrep --msgid -E -e '[^ -~[:space:]]' --sort-output -o "$out" "$tmp"
# The template's date changes with every run; a fixed one keeps the file stable in the tree.
sed -i 's/^"POT-Creation-Date: .*\\n"$/"POT-Creation-Date: 2026-01-01 00:00+0000\\n"/' "$out"
