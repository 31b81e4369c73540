#!/usr/bin/env bash
# Runs inside Xvfb (run_in_xvfb.sh): a damaged Setting.dat is repaired section by section,
# one message each, before any window opens.
set -euo pipefail
[ -n "${KORVID_E2E_TRACE:-}" ] && set -x
cd "$KORVID_E2E_WORK"
export ALSOFT_DRIVERS=null XDG_RUNTIME_DIR=$KORVID_E2E_WORK
fail() { echo "FAIL: $*"; exit 1; }
top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# A valid file whose header is eight zeros: every field decodes out of range.
./korvid > /dev/null 2>&1 &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Korvid$' > /dev/null || fail "no first window"
for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool search --name '^Korvid$' | head -1 | xargs -r -I{} xdotool windowfocus --sync {} key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$pid" || true
printf '00000000' | dd of=Setting.dat bs=1 seek=0 conv=notrunc 2>/dev/null

./korvid > run.log 2>&1 &
pid=$!
shot_taken=""
for _ in $(seq 1 600); do
  sleep 0.1
  game=$(xdotool search --onlyvisible --name '^Korvid$' 2>/dev/null | head -1 || true)
  if [ -n "$game" ]; then break; fi
  box=""
  for w in $(top_windows); do viewable "$w" && box=$w; done
  [ -n "$box" ] || continue
  sleep 0.3
  if [ -z "$shot_taken" ]; then
    import -window root "$KORVID_E2E_ARTIFACTS/repair_message.png"
    shot_taken=1
  fi
  # Yes is the default button: Return answers it. Then wait until this box has gone.
  xdotool windowfocus "$box" 2>/dev/null || true
  xdotool key --clearmodifiers Return
  for _ in $(seq 1 30); do viewable "$box" || break; sleep 0.1; done
done
# The game names each box it shows on standard error: exactly the five repairs, in file order.
grep '^Korvid: message box' run.log | sed 's/^Korvid: message box "警告": //' > boxes.txt || true
printf '%s\n' ゲーム設定の読み込みエラー！ グラフィック設定の読み込みエラー！ オウディオ設定の読み込みエラー！ \
  キー設定の読み込みエラー！ その他の設定の読み込みエラー！ > expected_boxes.txt
cmp -s boxes.txt expected_boxes.txt ||
  fail "expected the five repair messages before the window, saw $(wc -l < boxes.txt): $(tr '\n' '|' < boxes.txt)"
[ -n "${game:-}" ] || fail "the game window never opened"

for _ in $(seq 1 40); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool windowfocus --sync "$game" key Escape 2>/dev/null || true
  sleep 0.5
done
wait "$pid" || fail "exit code $?"
echo "PASS: damaged settings repaired in five passes"
