#!/usr/bin/env bash
# Runs inside Xvfb: one start of the game per damaged file (see scripts/baddata.sh).
# Usage: bad_data_run.sh GAME PACK FILE...
set -uo pipefail
GAME=$1 PACK=$2
shift 2
SEEDS=$(dirname "$0")/../fuzz/corpus
export ALSOFT_DRIVERS=null
top_windows() { xwininfo -root -children | awk '/^ +0x/ {print $1}' | sort; }

# Prints how one start ended: "message box, exit N", "started", "crash (signal N)" or "hang".
one_start() {
  local folder=$1 box="" seen="" code
  top_windows > "$folder/before.txt"
  (cd "$folder" && XDG_RUNTIME_DIR=$folder exec ./korvid > run.log 2>&1) &
  local pid=$!
  for _ in $(seq 1 150); do
    sleep 0.1
    kill -0 "$pid" 2>/dev/null || break
    for w in $(top_windows | comm -13 "$folder/before.txt" -); do
      if xwininfo -id "$w" | grep -q 'Map State: IsViewable' &&
         ! xwininfo -id "$w" | grep -q '"Korvid"'; then box=$w; fi
    done
    [ -n "$box" ] && break
  done
  if [ -n "$box" ]; then
    seen=" after a message box"
    # Answer every box with its default button until the game ends or goes on.
    for _ in $(seq 1 12); do
      xdotool windowfocus "$box" key Return 2>/dev/null || true
      sleep 0.5
      kill -0 "$pid" 2>/dev/null || break
      box=$(top_windows | comm -13 "$folder/before.txt" - | while read -r w; do
        xwininfo -id "$w" | grep -q '"Korvid"' || { xwininfo -id "$w" | grep -q IsViewable && echo "$w"; }
      done | head -1)
      [ -n "$box" ] || break
    done
  fi
  if kill -0 "$pid" 2>/dev/null; then
    sleep 4
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"; wait "$pid" 2>/dev/null
      echo "started$seen"
      return
    fi
  fi
  wait "$pid"; code=$?
  if [ "$code" -ge 128 ]; then echo "CRASH (signal $((code - 128)))"; else echo "exit $code$seen"; fi
}

echo "| file | truncated | empty | padded to 2 GB | random bytes |"
echo "|---|---|---|---|---|"
bad=0
for file in "$@"; do
  row="| $file |"
  for damage in truncated empty padded random; do
    folder=$(mktemp -d)
    cp "$GAME" "$folder/korvid"
    cp -r "$PACK" "$folder/File"
    # The two data files start from a valid copy, as a previous run leaves them.
    cp "$SEEDS/settings/default" "$folder/Setting.dat"
    cp "$SEEDS/ranking/default" "$folder/Ranking.dat"
    target="$folder/$file"
    size=$(stat -c %s "$target" 2>/dev/null || echo 400)
    case $damage in
      truncated) truncate -s $((size / 2)) "$target" ;;
      empty) : > "$target" ;;
      padded) truncate -s 2G "$target" ;;
      random) head -c "$size" /dev/urandom > "$target" ;;
    esac
    result=$(one_start "$folder")
    case $result in CRASH*|hang*) bad=1 ;; esac
    row="$row $result |"
    rm -rf "$folder"
  done
  echo "$row"
done
exit $bad
