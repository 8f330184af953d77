#!/usr/bin/env bash
# The window's keys after the graph was used, with real X events on a real desktop: the graph
# draws in a native window of its own, which QTest's key events never reach. Under Xvfb and
# openbox, on a copy of a sample aircraft: right-drag a point of a table, Ctrl+S saves it; two
# drags undone with Ctrl+Z twice and saved give the loaded bytes back; after a click on the
# graph, Down moves the tree to the next table, whose drag is saved.
# usage: graph_keys.sh KELVARA KELVARA-CLI FILE.air FIRST-TABLE NEXT-TABLE
# Exits 77 (skipped) only when Xvfb or xdotool cannot run here.
set -uo pipefail

kelvara=$1 cli=$2 sample=$3 first=$4 next=$5
skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool openbox; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb did not start: $(head -c 300 "$work/xvfb.log")"
export DISPLAY=:$(cat "$work/display")
xdotool getmouselocation >/dev/null 2>&1 || skip "xdotool cannot reach the X server"
openbox >/dev/null 2>&1 &
pids+=($!)

# Polls a condition for up to ten seconds.
wait_for() {
  for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done
  return 1
}

cp "$sample" "$work/plane.air"
cp "$sample" "$work/loaded.air"
mkdir "$work/settings"
XDG_DATA_HOME=$work/no-user-data "$kelvara" --settings-folder "$work/settings" "$work/plane.air" \
  --select "$first" >"$work/kelvara.log" 2>&1 &
pids+=($!)

wait_for 'graph=$(xdotool search --name "^Kelvara graph" 2>/dev/null | head -1); [ -n "$graph" ]' ||
  fail "the graph's window did not show: $(cat "$work/kelvara.log")"
wait_for 'main=$(xdotool search --onlyvisible --class kelvara 2>/dev/null | grep -vx "$graph" | head -1); [ -n "$main" ]' ||
  fail "the window did not show: $(cat "$work/kelvara.log")"
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || xdotool windowfocus --sync "$main"
sleep 1

# A right-drag upward from the middle of the graph: away from every point it moves the marked one.
drag() {
  xdotool mousemove --window "$graph" 150 60 mousedown 3
  for y in 55 50 45 40 35 30; do sleep 0.05; xdotool mousemove --window "$graph" 150 "$y"; done
  sleep 0.1
  xdotool mouseup 3
  sleep 0.2
}
# Ctrl+S, then the file differs from (or, with "same", equals) the loaded one; a message box
# that the save shows is closed with Return.
save() {
  xdotool key ctrl+s
  if [ "$1" = same ]; then
    wait_for 'cmp -s "$work/plane.air" "$work/loaded.air"' || return 1
  else
    wait_for '! cmp -s "$work/plane.air" "$work/loaded.air"' || return 1
  fi
  sleep 0.5
  [ "$(xdotool getactivewindow)" = "$main" ] || xdotool key Return
  sleep 0.3
}
differs_only() { # the records "kelvara-cli diff" lists between the loaded file and the saved one
  "$cli" diff "$work/loaded.air" "$work/plane.air" | grep -E '^[0-9A-F]{4} ' | cut -d' ' -f1 | tr '\n' ' '
}

drag
save changed || fail "Ctrl+S after a drag saved nothing"
[ "$(differs_only)" = "$(printf '%04X' "0x$first") " ] || fail "the save changed: $(differs_only)"

drag
xdotool key ctrl+z
sleep 0.2
xdotool key ctrl+z
sleep 0.2
save same || fail "two drags, two Ctrl+Z and Ctrl+S do not give the loaded bytes back: $(differs_only)"

# A click and the wheel on the graph, then the tree's Down key.
xdotool mousemove --window "$graph" 20 20 click 1 click 4 click 5
sleep 0.2
xdotool key Down
sleep 0.5
drag
save changed || fail "Down and a drag after a click on the graph saved nothing"
[ "$(differs_only)" = "$(printf '%04X' "0x$next") " ] || fail "Down did not reach the next table: $(differs_only)"
echo "ok: Ctrl+S, Ctrl+Z and the tree's keys work after the graph"
