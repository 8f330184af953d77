#!/usr/bin/env bash
# The command-line contract that other tools rely on: outputs and exit codes.
set -u
cli=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

expect() { # expect NAME EXPECTED-EXIT EXPECTED-STDOUT COMMAND...
    local name=$1 code=$2 out=$3 got rc; shift 3
    got=$("$@" 2>"$work/stderr"); rc=$?
    [[ $rc == "$code" && $got == "$out" ]] ||
        fail "$name: exit $rc (want $code), output [$got] (want [$out]), stderr: $(cat "$work/stderr")"
}
stderr_has() { # stderr_has NAME TEXT
    grep -qF -- "$2" "$work/stderr" || fail "$1: stderr lacks [$2]: $(cat "$work/stderr")"
}

printf '[records]\r\n1001=Title,text\r\n1101=Wing area,float\r\n1204=Engine data,record\r\n1300=Rpm,int16\r\n[1204]\r\n1=Limits\r\n2=0x00,int16,Max RPM\r\n' > "$work/KVR.ini"
ini=(--ini "$work/KVR.ini")
# 0x1300 int16 = 5, then 0x1204 {2400}, then 0x1101 float 2.5, stored out of order.
printf '\x00\x13\x00\x00\x02\x00\x00\x00\x05\x00\x04\x12\x00\x00\x02\x00\x00\x00\x60\x09\x01\x11\x00\x00\x04\x00\x00\x00\x00\x00\x20\x40' > "$work/plane.air"

expect format-keyword 0 "0.999989986419678" "$cli" format ang16 b600
expect format-code 0 "15.3787002563477" "$cli" format 12 6400
expect format-comma 0 "0,5" "$cli" --decimal 2 --locale-mark , format double 000000000000e03f
expect format-bad-hex 1 "" "$cli" format int16 xyz
expect format-bad-type 1 "" "$cli" format nonsense 00
expect encode-ang16 0 "f87f" "$cli" encode ang16 180
expect encode-range 3 "" "$cli" encode int16 32768
stderr_has encode-range "values between -32768 and 32767 only"
expect encode-text 0 "616200" "$cli" encode text ab
expect encode-bool 0 "01000000" "$cli" encode bool TRUE
expect tree 0 " 1101 (FLOAT) Wing area, 2.5
 1204 (REC) Engine data
	 Limits,  
	 (INT16) Max RPM, 2400
 1300 (INT16) Rpm, 5" "$cli" "${ini[@]}" tree "$work/plane.air"
expect tree-plain 0 " 1101 Wing area, 2.5" bash -c "'$cli' --ini '$work/KVR.ini' --datatypes 0 tree '$work/plane.air' | head -1"
expect dump 0 "$(printf '01101,Wing area,2.5\r\n01204,Engine data,\r\n     ,Limits, \r\n     ,Max RPM,2400\r\n01300,Rpm,5\r')" "$cli" "${ini[@]}" --delimiter 1 dump "$work/plane.air"
expect get 0 "2.5" "$cli" "${ini[@]}" get "$work/plane.air" 1101
expect get-field 0 "2400" "$cli" "${ini[@]}" get "$work/plane.air" 1204/2
expect get-missing 1 "" "$cli" "${ini[@]}" get "$work/plane.air" 1999
expect check 0 "ok: 3 records" "$cli" "${ini[@]}" check "$work/plane.air"
expect check-strict-sound 0 "ok: 3 records" "$cli" "${ini[@]}" check --strict "$work/plane.air"
printf '\x00\x13\x00\x00\x01\x00\x00\x00\x05' > "$work/short.air"
expect check-findings-plain 0 "ok: 1 records" "$cli" "${ini[@]}" check "$work/short.air"
expect check-strict 4 "1300 Rpm: holds 1 bytes, fewer than the 2 its type needs
1 records, 1 finding" "$cli" "${ini[@]}" check --strict "$work/short.air"

cp "$work/plane.air" "$work/original.air"
expect set-field 0 "2500" "$cli" "${ini[@]}" set "$work/plane.air" 1204/2 2500
cmp -s "$work/original.air" "$work/plane.kvr1.air" || fail "set: backup differs"
expect set-reread 0 "2500" "$cli" "${ini[@]}" get "$work/plane.air" 1204/2
cp "$work/plane.air" "$work/before-range.air"
expect set-range 3 "" "$cli" "${ini[@]}" set "$work/plane.air" 1300 40000
cmp -s "$work/before-range.air" "$work/plane.air" || fail "set-range changed the file"
expect set-text-wrong-type 3 "" "$cli" "${ini[@]}" set "$work/plane.air" 1101 abc,1
# The tolerant reader stored 0 for these, 12 for " 12xyz" and 1.5 for "1.5.3"; each saved.
for text in abc "" nan inf " 12xyz" 1.5.3 "1 000" - 1e 1.5; do
    expect "set-refused [$text]" 3 "" "$cli" "${ini[@]}" set "$work/plane.air" 1300 "$text"
done
expect encode-refused 3 "" "$cli" encode double "1,5.3"
stderr_has encode-refused "'1,5.3' is not a number"
expect encode-either-mark 0 "000000000000f83f" "$cli" encode double "1,5"
cmp -s "$work/before-range.air" "$work/plane.air" || fail "a refused set changed the file"
# The stored value again: nothing is written and no backup turns over.
cp "$work/plane.kvr1.air" "$work/kvr1-before.air"
expect set-same 0 "5" "$cli" "${ini[@]}" set "$work/plane.air" 1300 5.0
expect set-same-field 0 "2500" "$cli" "${ini[@]}" set "$work/plane.air" 1204/2 2500
cmp -s "$work/before-range.air" "$work/plane.air" && cmp -s "$work/kvr1-before.air" "$work/plane.kvr1.air" &&
    [ ! -e "$work/plane.kvr2.air" ] || fail "set with the stored value wrote the file"
expect get-record 0 "$(printf '1\tLimits\t\n2\tMax RPM\t2500')" "$cli" "${ini[@]}" get "$work/plane.air" 1204
expect rewrite 0 "" "$cli" "${ini[@]}" rewrite "$work/plane.air"
[ -f "$work/plane.kvr2.air" ] || fail "rewrite did not rotate backups"

printf '\x01\x11\x00\x00\xff\x00\x00\x00\x01' > "$work/damaged.air"
expect check-damaged 2 "" "$cli" "${ini[@]}" check "$work/damaged.air"
stderr_has check-damaged "record 0x1101 at byte 0: length 255 exceeds the 1 bytes left"
cp "$work/original.air" "$work/same.air"
expect diff-same 0 "" "$cli" "${ini[@]}" diff "$work/original.air" "$work/same.air"
expect diff-set-prepare 0 "7" "$cli" "${ini[@]}" set "$work/same.air" 1300 7
expect diff-set 1 "1300 Rpm: 5 -> 7" "$cli" "${ini[@]}" diff "$work/original.air" "$work/same.air"
expect diff-field 1 "1204 Engine data: 1 field differs
    Max RPM: 2400 -> 2500" "$cli" "${ini[@]}" diff "$work/original.air" "$work/plane.air"
printf '\x01\x10\x00\x00\x03\x00\x00\x00a\rb\x00\x13\x00\x00\x02\x00\x00\x00\x05\x00' > "$work/other.air"
expect diff-added-removed 1 '1001 Title: only in B
1101 Wing area: only in A
1204 Engine data: only in A' "$cli" "${ini[@]}" diff "$work/original.air" "$work/other.air"
printf '\x01\x10\x00\x00\x05\x00\x00\x00x\r\ny\x00\x00\x13\x00\x00\x02\x00\x00\x00\x05\x00' > "$work/other2.air"
expect diff-text 1 '1001 Title: "a\x0db" -> "x\x0d\x0ay"' "$cli" "${ini[@]}" diff "$work/other.air" "$work/other2.air"
printf '\x01\x10\x00\x00\x03\x00\x00\x00\xe9t\x00\x00\x13\x00\x00\x02\x00\x00\x00\x05\x00' > "$work/other3.air"
expect diff-text-utf8 1 '1001 Title: "a\x0db" -> "ét"' "$cli" "${ini[@]}" diff "$work/other.air" "$work/other3.air"
expect diff-damaged 2 "" "$cli" "${ini[@]}" diff "$work/original.air" "$work/damaged.air"
stderr_has diff-damaged "damaged.air is damaged"
expect diff-usage 2 "" "$cli" diff "$work/original.air"
expect missing-file 2 "" "$cli" "${ini[@]}" tree "$work/none.air"
mkdir "$work/folder.air"
expect folder-refused 2 "" "$cli" "${ini[@]}" check "$work/folder.air"
stderr_has folder-refused "is not a regular file"
# A dictionary that cannot be read is an error, not a file of unnamed records.
expect ini-folder 2 "" "$cli" --ini "$work" check "$work/plane.air"
stderr_has ini-folder "cannot read the record dictionary $work"
expect ini-missing 2 "" "$cli" --ini "$work/missing.ini" dump "$work/plane.air"
expect help-short 0 "$("$cli" --help)" "$cli" -h
# Numbers from 0x80000000 up sort after 0x7fffffff and can be addressed.
printf '\xff\xff\xff\xff\x01\x00\x00\x00\x0a\x00\x00\x00\x80\x01\x00\x00\x00\x0b' > "$work/high.air"
expect high-tree 0 "80000000 (????) 
ffffffff (????) " "$cli" --ini "$work/KVR.ini" tree "$work/high.air"
# No blank line: a record without a type shows its bytes.
expect high-get 0 "0b" "$cli" --ini "$work/KVR.ini" get "$work/high.air" 80000000
expect high-get-max 0 "0a" "$cli" --ini "$work/KVR.ini" get "$work/high.air" 0xFFFFFFFF
expect high-too-big 1 "" "$cli" --ini "$work/KVR.ini" get "$work/high.air" 100000000
expect encode-fwgt 0 "0064" "$cli" encode fwgt 1e2
expect encode-float-overflow 3 "" "$cli" encode float 1e39
stderr_has encode-float-overflow "values between -3.40282346638529E38 and 3.40282346638529E38 only"
expect encode-tiny 0 "00000000" "$cli" encode float 1e-400
expect no-command 1 "" "$cli"
expect bad-option 1 "" "$cli" --decimal 7 format int16 0000

# Tables: 0x0433 tbl16_2 {1, -1, 0}, 0x0404 tbldb {(0.5, 10)}, 0x0300 a plain int16.
printf '[records]\n0300=Plain,int16\n0404=Lift,tbldb\n0433=Moment,tbl16_2\n' > "$work/tables.ini"
tini=(--ini "$work/tables.ini")
printf '\x33\x04\x00\x00\x06\x00\x00\x00\x00\x08\x00\xf8\x00\x00\x04\x04\x00\x00\x14\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\xe0\x3f\x00\x00\x00\x00\x00\x00\x24\x40\x00\x03\x00\x00\x02\x00\x00\x00\x05\x00' > "$work/jet.air"
expect table-export 0 "$(printf 'Points: 3\n1\n-1\n0')" "$cli" "${tini[@]}" table-export "$work/jet.air" 433 -
expect table-export-style 0 "$(printf 'Points: 1\n0,5;10')" "$cli" "${tini[@]}" --delimiter 2 --decimal 2 table-export "$work/jet.air" 0404 -
expect table-export-file 0 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0404 "$work/lift.txt"
[ "$(cat "$work/lift.txt")" = "$(printf 'Points: 1\n0.5\t10')" ] || fail "table-export-file content"
expect table-not-a-table 1 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0300 -
expect table-missing 1 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0999 -
expect table-export-unwritable 2 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0404 "$work/none/x.txt"
cp "$work/jet.air" "$work/jet-before.air"
printf 'Points: 3\nabc\n' > "$work/bad.txt"
expect table-import-bad 3 "" "$cli" "${tini[@]}" table-import "$work/jet.air" 0433 "$work/bad.txt"
stderr_has table-import-bad "line 2"
cmp -s "$work/jet-before.air" "$work/jet.air" && [ ! -e "$work/jet.kvr1.air" ] || fail "table-import-bad changed the file"
expect table-import-missing 2 "" "$cli" "${tini[@]}" table-import "$work/jet.air" 0433 "$work/none.txt"
printf 'Points: 3\r\n2\r\n0,5\r\n0\r\n' > "$work/moment.txt"
expect table-import 0 "3" "$cli" "${tini[@]}" table-import "$work/jet.air" 0433 "$work/moment.txt"
expect table-reimport 0 "$(printf 'Points: 3\n2\n0.5\n0')" "$cli" "${tini[@]}" table-export "$work/jet.air" 0433 -
cmp -s "$work/jet-before.air" "$work/jet.kvr1.air" || fail "table-import: no backup"
# Each of these imported in part or stored another number, saved, and pushed a backup out.
cp "$work/jet.air" "$work/jet-imported.air"
printf 'Points: 3\n2\n0.5\n' > "$work/short.txt"
printf 'Points: 17\n1\n' > "$work/other-shape.txt"
printf '\x89PNG\x00\x01' > "$work/garbage.txt"
: > "$work/empty.txt"
printf 'Points: 3\n20\n0\n0\n' > "$work/wraps.txt"
printf 'Points: 1\n0.5,10\n' > "$work/commas.txt"
declare -A why=([short]="short.txt line 4: the file ends after 2 of 3 value lines"
    [other-shape]='other-shape.txt line 1: expected "Points: 3", found "Points: 17"'
    [garbage]='garbage.txt line 1: expected "Points: 3"' [empty]="empty.txt: the file is empty"
    [wraps]="wraps.txt line 2: values between -16 and 15.99951171875 only")
for bad in "${!why[@]}"; do
    expect "table-import-$bad" 3 "" "$cli" "${tini[@]}" table-import "$work/jet.air" 0433 "$work/$bad.txt"
    stderr_has "table-import-$bad" "${why[$bad]}"
done
expect table-import-commas 3 "" "$cli" "${tini[@]}" table-import "$work/jet.air" 0404 "$work/commas.txt"
stderr_has table-import-commas "commas.txt line 2: expected 2 numbers"
expect table-import-commas-setting 0 "2" "$cli" "${tini[@]}" --delimiter 1 table-import "$work/jet.air" 0404 "$work/commas.txt"
cp "$work/jet.air" "$work/jet-imported.air"
cp "$work/jet.kvr1.air" "$work/jet-kvr1.air"
"$cli" "${tini[@]}" table-export "$work/jet.air" 0404 "$work/same.txt"
expect table-import-same 0 "2" "$cli" "${tini[@]}" table-import "$work/jet.air" 0404 "$work/same.txt"
cmp -s "$work/jet-imported.air" "$work/jet.air" && cmp -s "$work/jet-kvr1.air" "$work/jet.kvr1.air" ||
    fail "a refused or unchanged table import wrote the file or a backup"
expect get-table 0 "$(printf 'Points: 3\n2\n0.5\n0')" "$cli" "${tini[@]}" get "$work/jet.air" 433

# Text records hold Windows-1252: é is one byte E9, shown again as UTF-8; Japanese cannot be stored.
printf '\x01\x10\x00\x00\x03\x00\x00\x00ab\x00' > "$work/title.air"
expect set-text 0 "Tupolev é" "$cli" "${ini[@]}" set "$work/title.air" 1001 "Tupolev é"
[ "$(od -An -tx1 -j8 "$work/title.air" | tr -d ' \n')" = "5475706f6c657620e900" ] || fail "set-text: not Windows-1252"
expect get-text 0 "Tupolev é" "$cli" "${ini[@]}" get "$work/title.air" 1001
cp "$work/title.air" "$work/title-before.air"
expect set-text-unstorable 3 "" "$cli" "${ini[@]}" set "$work/title.air" 1001 "日本語"
expect set-text-same 0 "Tupolev é" "$cli" "${ini[@]}" set "$work/title.air" 1001 "Tupolev é"
cmp -s "$work/title-before.air" "$work/title.air" && [ ! -e "$work/title.kvr2.air" ] || fail "set-text wrote the file again"

# Configuration lines: refused without a save, read back without a byte changed, changed with one.
expect table-cfg-export 0 "0:2, 1:0.5, 2:0" "$cli" "${tini[@]}" table-export "$work/jet.air" 0433 - --format cfg
cp "$work/jet.air" "$work/jet-cfg.air"
printf 'moment = 0:2, 1:0.5 ; one short\n' > "$work/short.cfg"
expect table-cfg-short 3 "" "$cli" "${tini[@]}" table-import "$work/jet.air" 0433 "$work/short.cfg" --format cfg
stderr_has table-cfg-short "2 comma-separated groups; the table has 3"
expect table-cfg-same-export 0 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0404 "$work/lift.cfg" --format cfg
expect table-cfg-same 0 "2" "$cli" "${tini[@]}" table-import "$work/jet.air" 0404 "$work/lift.cfg" --format cfg
cmp -s "$work/jet-cfg.air" "$work/jet.air" || fail "table-cfg: a refused or unchanged line changed the file"
printf 'lift_coef_aoa_table = 0.25:-1\r\n' > "$work/lift.cfg"
expect table-cfg-import 0 "2" "$cli" "${tini[@]}" table-import "$work/jet.air" 0404 "$work/lift.cfg" --format cfg
expect table-cfg-reexport 0 "0.25:-1" "$cli" "${tini[@]}" table-export "$work/jet.air" 0404 - --format cfg
expect table-cfg-bad-format 1 "" "$cli" "${tini[@]}" table-export "$work/jet.air" 0404 - --format xml

chmod a-w "$work/plane.air"
expect write-protected 2 "" "$cli" "${ini[@]}" set "$work/plane.air" 1300 7
stderr_has write-protected ".air is write protected, .air is unchanged"

# scan: discovery below FSPATH, or the given search paths; .air paths matched ignoring case.
fs="$work/FS X"
mkdir -p "$fs/SimObjects/Airplanes/Zed" "$fs/SimObjects/Airplanes/Alpha" "$fs/SimObjects/Boats/Ferry" "$fs/Extra/Mine"
printf '[fltsim.0]\r\ntitle="Zed \xe9"\r\nsim=..\\Alpha\\ALPHA\r\nui_variation=Red\r\n' > "$fs/SimObjects/Airplanes/Zed/Aircraft.cfg"
printf '[fltsim.0]\ntitle=alpha\nsim=Alpha\n[fltsim.1]\nsim=Alpha\n' > "$fs/SimObjects/Airplanes/Alpha/aircraft.cfg"
: > "$fs/SimObjects/Airplanes/Alpha/alpha.AIR"
printf '[fltsim.0]\ntitle=Ferry\nsim=ferry\nui_variation=Blue\n' > "$fs/SimObjects/Boats/Ferry/SIM.CFG"
printf '[fltsim.0]\ntitle=Mine\nsim=m\n' > "$fs/Extra/Mine/aircraft.cfg"
air="$fs/SimObjects/Airplanes/Alpha/alpha.AIR"
expect scan-discovery 0 "alpha - 	$air
Ferry - Blue	$fs/SimObjects/Boats/Ferry/ferry.air
Zed é - Red	$air" "$cli" scan "$fs"
expect scan-searchpath 0 "Mine - 	$fs/Extra/Mine/m.air" "$cli" scan "$fs" --searchpath "$fs/Extra"
expect scan-none 2 "" "$cli" scan "$work/none"
stderr_has scan-none "simulator folder $work/none cannot be read"
mkdir -p "$work/nosim/SimObjects/Airplanes/A321"
printf '[fltsim.0]\r\ntitle=A321\r\nmodel=\r\n' > "$work/nosim/SimObjects/Airplanes/A321/aircraft.cfg"
expect scan-no-sim 0 "" "$cli" scan "$work/nosim"
stderr_has scan-no-sim "searched $work/nosim/SimObjects/Airplanes"
stderr_has scan-no-sim "1 configuration files read, 1 without a [fltsim.N] section that has a sim entry"
expect scan-searchpath-file 2 "" "$cli" scan "$fs" --searchpath "$work/plane.air"
stderr_has scan-searchpath-file "$work/plane.air: Not a directory"
expect scan-usage 1 "" "$cli" scan

[ "$failures" -eq 0 ] && echo "cli contract: all passed"
exit "$failures"
