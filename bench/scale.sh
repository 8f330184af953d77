#!/usr/bin/env bash
# Scale figures as whole processes, each against its baseline measured in the same run:
#   load + save of the synthetic 10 MB file (kelvara-cli rewrite) against cp + sync,
#   kelvara-cli check against cat, the editor's peak memory holding the file, and start-up
#   in file mode against a minimal Qt window program.
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
# Median wall time in milliseconds of a command run $runs times.
median() {
  local times=()
  for _ in $(seq "$runs"); do
    local start; start=$(now)
    "$@" >/dev/null 2>&1
    times+=($(( ($(now) - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p" | awk '{ printf "%.1f", $1 / 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
report() { echo "$1: $2 ms vs $3 $4 ms = $(ratio "$2" "$4")x"; }

copy_sync() { cp "$big" "$work/copy.air" && sync "$work/copy.air"; }
rewrite() { "$bin/kelvara-cli" --ini "$bin/KVR.ini" rewrite "$big"; }
check() { "$bin/kelvara-cli" --ini "$bin/KVR.ini" check "$big"; }

base=$(median copy_sync); t=$(median rewrite); report "load+save (rewrite)" "$t" "cp+sync" "$base"
base=$(median cat "$big"); t=$(median check); report "check" "$t" "cat" "$base"

if [ -x "$bin/kelvara" ] && [ -x "$bin/kelvara-minimal-window" ]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  export XDG_CONFIG_HOME="$work/config" HOME="$work"
  peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
  own=$(peak "$bin/kelvara" --quit-after-show "$work/small.air")
  held=$(peak "$bin/kelvara" --quit-after-show "$big")
  size_kb=$(( $(stat -c %s "$big") / 1024 ))
  echo "peak memory: $(( held / 1024 )) MB holding the file, $(( own / 1024 )) MB holding the small sample;" \
       "$(ratio $(( held - own )) "$size_kb")x the file size above the program's own"
  base=$(median "$bin/kelvara-minimal-window"); t=$(median "$bin/kelvara" --quit-after-show "$work/small.air")
  report "start-up in file mode" "$t" "minimal Qt window" "$base"
fi
