#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its files and that its dependencies cover every
# library the program links and the fonts, SoundFont and GL drivers it opens at run time.
# Usage: check_package.sh BUILD_DIR PROJECT_VERSION BUILT_PACK
set -euo pipefail
BUILD=$1 VERSION=$2 PACK=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$WORK" && cpack -G DEB -B "$WORK/out" --config "$BUILD/CPackConfig.cmake" > "$WORK/cpack.log" 2>&1) ||
  fail "cpack: $(tail -20 "$WORK/cpack.log")"
debs=("$WORK"/out/korvid_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one korvid_*.deb, found: ${debs[*]}"
DEB=${debs[0]}
echo "== $(basename "$DEB")"
dpkg-deb -I "$DEB" control

[ "$(dpkg-deb -f "$DEB" Package)" = korvid ] || fail "package name"
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "version is not $VERSION"
[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "section"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
has_dep() { tr ',|' '\n\n' <<< "$DEPENDS" | sed 's/(.*)//; s/ //g' | grep -qx "$1"; }

# Files: everything below /usr, the program, the whole pack, the menu entry, icons, metadata, manual.
dpkg-deb -c "$DEB" | awk '{print $6}' | grep -v '/$' | sort > "$WORK/files"
grep -v '^\./usr/' "$WORK/files" && fail "files outside /usr"
(cd "$PACK" && find . -type f | sed 's|^\.|./usr/share/korvid/File|' | sort) > "$WORK/pack"
missing=$(comm -23 "$WORK/pack" "$WORK/files")
[ -z "$missing" ] || fail "pack files missing from the package: $missing"
for f in ./usr/games/korvid ./usr/share/applications/org.korvid.Korvid.desktop \
         ./usr/share/metainfo/org.korvid.Korvid.metainfo.xml ./usr/share/man/man6/korvid.6.gz \
         ./usr/share/doc/korvid/copyright ./usr/share/doc/korvid/changelog.gz \
         ./usr/share/locale/en/LC_MESSAGES/korvid.mo; do
  grep -qx "$f" "$WORK/files" || fail "$f missing"
done
for size in 16 22 24 32 48 64 128 256 512; do
  grep -qx "./usr/share/icons/hicolor/${size}x${size}/apps/korvid.png" "$WORK/files" || fail "$size px icon missing"
done
extra=$(comm -13 "$WORK/pack" "$WORK/files" | grep -v -e '^./usr/games/korvid$' -e '^./usr/share/applications/' \
  -e '^./usr/share/metainfo/' -e '^./usr/share/man/man6/' -e '^./usr/share/icons/hicolor/' \
  -e '^./usr/share/doc/korvid/' -e '^./usr/share/locale/[A-Za-z_@]*/LC_MESSAGES/korvid.mo$' || true)
[ -z "$extra" ] || fail "unexpected files: $extra"

dpkg-deb -x "$DEB" "$WORK/root"
file "$WORK/root/usr/games/korvid" | grep -q ', stripped' || fail "the packaged program is not stripped"
# The program finds its pack relative to itself, as from bin/ in a plain install.
[ -d "$WORK/root/usr/games/../share/korvid/File/Bitmap" ] || fail "no pack where the program looks for it"
zcat "$WORK/root/usr/share/doc/korvid/changelog.gz" | head -1 | grep -q "^korvid ($VERSION) " ||
  fail "the changelog does not open with this version"

# The package owning a file, whichever side of the merged /usr it was registered under.
owner() {
  local path
  for path in "$1" "${1#/usr}" "/usr$1" "$(readlink -f "$1")"; do
    dpkg -S "$path" 2> /dev/null | head -1 | cut -d: -f1 && return
  done
  fail "no package owns $1"
}

# Every library the program needs directly.
objdump -p "$WORK/root/usr/games/korvid" | awk '/NEEDED/ {print $2}' > "$WORK/needed"
[ -s "$WORK/needed" ] || fail "no NEEDED entries read"
while read -r soname; do
  path=$(ldd "$WORK/root/usr/games/korvid" | awk -v s="$soname" '$1 == s {print $3}')
  [ -n "$path" ] || fail "$soname does not resolve"
  pkg=$(owner "$path")
  has_dep "$pkg" || fail "$soname comes from $pkg, which is not a dependency"
  echo "  $soname <- $pkg"
done < "$WORK/needed"

# What it opens at run time: the game font, the General MIDI SoundFont and the GL drivers.
font=$(fc-match -f '%{file}' IPAGothic)
has_dep "$(owner "$font")" || fail "the font $font is not brought in"
has_dep timgm6mb-soundfont || fail "no SoundFont"
[ "$(owner /usr/share/sounds/sf2/TimGM6mb.sf2)" = timgm6mb-soundfont ] || fail "TimGM6mb.sf2 moved package"
for drv in libgl1-mesa-dri libglx-mesa0 libgl1; do has_dep "$drv" || fail "$drv not a dependency"; done
# The game reads its models itself: the model library is for the tests only.
if tr ',|' '\n\n' <<< "$DEPENDS" | grep -qi assimp; then fail "a model library is a dependency: $DEPENDS"; fi
# Debian's packages never depend on X font packages: the message boxes' fonts are recommended.
has_dep xfonts-base && fail "xfonts-base is a dependency"
tr ',' '\n' <<< "$(dpkg-deb -f "$DEB" Recommends)" | sed 's/ //g' | grep -qx xfonts-base ||
  fail "xfonts-base is not recommended"

# Debian's own package checker: no errors.
echo "== lintian"
lintian --fail-on error --suppress-tags-from-file /dev/null "$DEB" | tee "$WORK/lintian" ||
  fail "lintian: $(grep '^E:' "$WORK/lintian" | tr '\n' ' ')"
echo "PASS: package"
