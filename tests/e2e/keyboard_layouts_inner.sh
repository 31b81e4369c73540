#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): every punctuation key under a US and a Japanese layout
# reaches the game as the virtual-key code Windows gives it there, named as its cap.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export XDG_RUNTIME_DIR=$KORVID_E2E_WORK
fail() { echo "FAIL: $*"; exit 1; }
TOOL=${KORVID_E2E_KEY_CAPS:?}

# X keycode (evdev), code, name: the US layout, then a JIS keyboard under "jp".
us="20 189 －(ﾊｲﾌﾝ)
21 187 ；(ｾﾐｺﾛﾝ)
34 219 [
35 221 ]
47 186 ：(ｺﾛﾝ)
48 222 ＾
49 192 ＠
51 220 \\
59 188 ，(ｶﾝﾏ)
60 190 ．(ﾋﾟﾘｵﾄﾞ)
61 191 ／(ｽﾗｯｼｭ)"
jp="20 189 －(ﾊｲﾌﾝ)
21 222 ＾
132 220 \\
34 192 ＠
35 219 [
47 187 ；(ｾﾐｺﾛﾝ)
48 186 ：(ｺﾛﾝ)
51 221 ]
59 188 ，(ｶﾝﾏ)
60 190 ．(ﾋﾟﾘｵﾄﾞ)
61 191 ／(ｽﾗｯｼｭ)
97 226 _(ｱﾝﾀﾞｰﾗｲﾝ)"

check() {
  local layout=$1 expected=$2
  # shellcheck disable=SC2046
  "$TOOL" "$layout" $(cut -d' ' -f1 <<< "$expected") > "caps_$layout.txt" || true
  diff <(printf '%s\n' "$expected") "caps_$layout.txt" > "caps_$layout.diff" ||
    fail "$layout layout: expected | got: $(tr '\n' ' ' < "caps_$layout.diff")"
  cp "caps_$layout.txt" "$KORVID_E2E_ARTIFACTS/"
}
check us "$us"
check jp "$jp"
echo "PASS: keyboard layouts"
