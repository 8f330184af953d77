#!/usr/bin/env bash
# Times "kelvara-cli scan" over a generated simulator folder of 5,000 aircraft folders with
# three variations each, against cat reading the same configuration files, in the same run.
# usage: bench/scan_bench.sh BUILD_DIR [FOLDERS] [ROUNDS]
set -euo pipefail
cli="$1/bin/kelvara-cli"
folders="${2:-5000}"
rounds="${3:-5}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
planes="$work/FSX/SimObjects/Airplanes"

# A configuration file of typical size: three [fltsim.N] sections and the usual other sections.
python3 - "$planes" "$folders" <<'PY'
import os, sys
root, count = sys.argv[1], int(sys.argv[2])
filler = "".join(f"[section{n}]\n" + "".join(f"key_{k} = {k * 1.5:.3f}, 0, 0 // note\n" for k in range(12)) for n in range(12))
for i in range(count):
    folder = os.path.join(root, f"Aircraft_{i:05d}")
    os.makedirs(os.path.join(folder, "texture"))
    sections = "".join(
        f"[fltsim.{v}]\ntitle=Aircraft {i} livery {v}\nsim=Aircraft_{i:05d}\nmodel=\ntexture={v}\n"
        f"ui_manufacturer=Maker {i % 97}\nui_type=Type {i}\nui_variation=Livery {v}\n"
        f"ui_createdby=Generator\ndescription=Generated aircraft for timing the scan.\n\n"
        for v in range(3))
    with open(os.path.join(folder, "aircraft.cfg"), "w") as f:
        f.write(sections + filler)
    open(os.path.join(folder, f"Aircraft_{i:05d}.air"), "w").close()
PY
find "$work/FSX" -name aircraft.cfg > "$work/files"
bytes=$(xargs -d '\n' cat < "$work/files" | wc -c)
echo "tree: $folders aircraft folders, $(wc -l < "$work/files") configuration files, $bytes bytes"

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
# Wall time is what a user waits for; CPU time (user + system) stays meaningful on a busy machine.
measure() { # measure NAME COMMAND...: medians of wall seconds, CPU seconds, peak memory
    local name=$1; shift
    "$@" > /dev/null 2>&1 # warm the cache
    for _ in $(seq "$rounds"); do
        /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" > /dev/null 2>&1
        awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
    done > "$work/$name.times"
    echo "$name: $(cut -d' ' -f1 < "$work/$name.times" | median) s wall," \
         "$(cut -d' ' -f2 < "$work/$name.times" | median) s CPU," \
         "peak $(cut -d' ' -f3 < "$work/$name.times" | median) KB"
}
measure cat bash -c "xargs -d '\n' cat < '$work/files'"
measure scan "$cli" scan "$work/FSX"
lines=$("$cli" scan "$work/FSX" | wc -l)
echo "scan listed $lines lines"
ratio() { # ratio COLUMN
    awk -v a="$(cut -d' ' -f"$1" < "$work/scan.times" | median)" \
        -v b="$(cut -d' ' -f"$1" < "$work/cat.times" | median)" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}
echo "scan / cat: $(ratio 1) wall, $(ratio 2) CPU"
