#!/usr/bin/env bash
# Installs into a temporary prefix and checks the tree, the validators' verdicts and the options.
# Usage: check_installed_tree.sh BUILD_DIR PROJECT_VERSION BUILT_PACK
set -euo pipefail
BUILD=$1 VERSION=$2 PACK=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
P=$WORK/prefix
APP=org.korvid.Korvid

cmake --install "$BUILD" --prefix "$P" > "$WORK/install.log"
[ -x "$P/bin/korvid" ] || fail "no program in bin/"
diff -r "$PACK" "$P/share/korvid/File" > /dev/null || fail "the installed pack differs from the built one"
[ "$(find "$P/share/korvid/File" -type f | wc -l)" -ge 100 ] || fail "the installed pack is incomplete"

desktop=$P/share/applications/$APP.desktop
metainfo=$P/share/metainfo/$APP.metainfo.xml
echo "== desktop-file-validate $desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
grep -qx 'Exec=korvid' "$desktop" || fail "the entry does not start korvid"
icon=$(sed -n 's/^Icon=//p' "$desktop")

echo "== appstreamcli validate --no-net $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">$APP.desktop</launchable>" "$metainfo" || fail "metainfo names another entry"
grep -q "<release version=\"$VERSION\"" "$metainfo" || fail "metainfo release is not $VERSION"
grep -q '<screenshot type="default">' "$metainfo" || fail "no screenshot in the metainfo"

# Every usual size, square, with transparency for the rounded corners.
for size in 16 22 24 32 48 64 128 256 512; do
  png=$P/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ -f "$png" ] || fail "no $size px icon"
  read -r w h channels corner < <(identify -format '%w %h %[channels] %[fx:p{0,0}.a]\n' "$png")
  [ "$w x $h" = "$size x $size" ] || fail "$png is $w x $h"
  [[ $channels == srgba* ]] || fail "$png has no alpha ($channels)"
  [ "$corner" = 0 ] || fail "$png has an opaque corner"
done

# The English catalogue, where the program looks for it from its own place.
msgunfmt "$P/share/locale/en/LC_MESSAGES/korvid.mo" | grep -q '^msgstr "Warning"' || fail "no English catalogue installed"

man=$P/share/man/man6/korvid.6.gz
warnings=$(zcat "$man" | groff -man -ww -z -Tutf8 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"
MANWIDTH=80 man -l "$man" 2> /dev/null | grep -q 'XDG_DATA_HOME/korvid' || fail "the manual does not tell the game folder"

# The options, from the installed program.
[ "$("$P/bin/korvid" --version)" = "Korvid $VERSION" ] || fail "--version says $("$P/bin/korvid" --version)"
"$P/bin/korvid" --help | grep -q '^Usage: korvid' || fail "--help"
code=0
"$P/bin/korvid" --no-such-option > "$WORK/out" 2> "$WORK/err" || code=$?
[ "$code" -eq 2 ] || fail "an unknown option exits with $code"
grep -q "unknown option '--no-such-option'" "$WORK/err" || fail "unknown option message: $(cat "$WORK/err")"
[ ! -s "$WORK/out" ] || fail "an unknown option printed to standard output"

(cd "$P" && find . -path ./share/korvid/File -prune -o -print | sort)
echo "PASS: installed tree"
