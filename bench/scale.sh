#!/usr/bin/env bash
# Scale figures as whole processes, each against its baseline measured in the same run:
#   load + save of the synthetic 10 MB file (kelvara-cli rewrite) against cp + sync,
#   kelvara-cli check against cat, the editor's peak memory holding the file, and start-up
#   in file mode against a minimal Qt window program (offscreen, and on X11 when Xvfb is there).
# Usage: bench/scale.sh BUILD_DIR [RUNS]   (BUILD_DIR: a Release build with the GUI)
set -euo pipefail
build=$(realpath "$1")
runs=${2:-7}
bin="$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
big="$work/synthetic.air"
"$bin/kelvara-make-synthetic" "$bin/KVR.ini" "$big"
small="$(dirname "$0")/../data/samples/FSX/SimObjects/Airplanes/Kelvara_Trainer/Kelvara_Trainer.air"
cp "$small" "$work/small.air"
echo "synthetic file: $(stat -c %s "$big") bytes"

now() { date +%s%N; }
# Microseconds one run of a command takes.
timed() {
  local start; start=$(now)
  "$@" >/dev/null 2>&1
  echo $(( ($(now) - start) / 1000 ))
}
middle() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p" | awk '{ printf "%.1f", $1 / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Runs a command and its baseline in turn, $runs times each, so that a change in the machine's
# load weighs on both alike, and reports the two medians in milliseconds.
# Usage: compare NAME BASELINE_NAME COMMAND -- BASELINE_COMMAND
compare() {
  local name=$1 base_name=$2; shift 2
  local command=() baseline=()
  while [ "$1" != "--" ]; do command+=("$1"); shift; done
  shift; baseline=("$@")
  local own=() base=()
  for _ in $(seq "$runs"); do
    base+=($(timed "${baseline[@]}"))
    own+=($(timed "${command[@]}"))
  done
  local t b; t=$(middle "${own[@]}"); b=$(middle "${base[@]}")
  echo "$name: $t ms vs $base_name $b ms = $(ratio "$t" "$b")x"
}

copy_sync() { cp "$big" "$work/copy.air" && sync "$work/copy.air"; }
rewrite() { "$bin/kelvara-cli" --ini "$bin/KVR.ini" rewrite "$big"; }
check() { "$bin/kelvara-cli" --ini "$bin/KVR.ini" check "$big"; }

compare "load+save (rewrite)" "cp+sync" rewrite -- copy_sync
compare "check" "cat" check -- cat "$big"

if [ -x "$bin/kelvara" ] && [ -x "$bin/kelvara-minimal-window" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  export XDG_CONFIG_HOME="$work/config" HOME="$work"
  peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
  own=$(peak "$bin/kelvara" --quit-after-show "$work/small.air")
  held=$(peak "$bin/kelvara" --quit-after-show "$big")
  size_kb=$(( $(stat -c %s "$big") / 1024 ))
  echo "peak memory: $(( held / 1024 )) MB holding the file, $(( own / 1024 )) MB holding the small sample;" \
       "$(ratio $(( held - own )) "$size_kb")x the file size above the program's own"
  compare "start-up in file mode" "minimal Qt window" "$bin/kelvara" --quit-after-show "$work/small.air" \
    -- "$bin/kelvara-minimal-window"
  # The same on X11 when a virtual display is at hand: only there does the OpenGL graph start.
  if command -v Xvfb >/dev/null; then
    Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    if [ -s "$work/display" ]; then
      DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb \
        compare "start-up in file mode on X11" "minimal Qt window" \
        "$bin/kelvara" --quit-after-show "$work/small.air" -- "$bin/kelvara-minimal-window"
    fi
    kill "$xvfb"
  fi
fi
