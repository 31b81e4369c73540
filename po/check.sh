#!/bin/sh
# The catalogues are complete: po/korvid.pot holds exactly the texts of the sources, and every
# po/<language>.po compiles with its formats checked and has no untranslated or fuzzy entry.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d)}
mkdir -p "$work"
"$root/po/update-pot.sh" "$work/sources.pot"
status=0
fail() {
  echo "FAIL: $1"
  [ -s "$work/err" ] && sed 's/^/  /' "$work/err"
  status=1
}
count() { grep -c '^msgid ' "$1" | awk '{ print $1 - 1 }'; }

# The template against the sources, both ways.
msgcmp --use-untranslated "$root/po/korvid.pot" "$work/sources.pot" 2>"$work/err" ||
  fail "po/korvid.pot lacks texts of the sources (cmake --build build --target korvid_pot)"
msgcmp --use-untranslated "$work/sources.pot" "$root/po/korvid.pot" 2>"$work/err" ||
  fail "po/korvid.pot holds texts the sources no longer have (cmake --build build --target korvid_pot)"
echo "texts in the sources: $(count "$work/sources.pot")"

for po in "$root"/po/*.po; do
  language=$(basename "$po" .po)
  msgfmt --check --statistics -o /dev/null "$po" 2>"$work/err" || fail "$language.po does not compile"
  echo "$language: $(cat "$work/err")"
  # Every text of the template, translated and not fuzzy.
  msgcmp "$po" "$root/po/korvid.pot" 2>"$work/err" ||
    fail "$language.po misses texts of the template (msgmerge --update po/$language.po po/korvid.pot)"
  msgattrib --only-fuzzy --no-obsolete -o "$work/fuzzy.po" "$po"
  [ ! -s "$work/fuzzy.po" ] || { : >"$work/err"; fail "$language.po has fuzzy entries"; grep '^msgid' "$work/fuzzy.po" | head; }
  msgattrib --untranslated --no-obsolete -o "$work/untranslated.po" "$po"
  [ ! -s "$work/untranslated.po" ] ||
    { : >"$work/err"; fail "$language.po has untranslated entries"; grep '^msgid' "$work/untranslated.po" | head; }
  msgcmp --use-untranslated "$root/po/korvid.pot" "$po" 2>"$work/err" ||
    fail "$language.po holds texts the template no longer has (msgmerge --update po/$language.po po/korvid.pot)"
done
exit $status
