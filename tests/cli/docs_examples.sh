#!/usr/bin/env bash
# Runs every example of the README and of the two man pages, in order, against a fresh copy of
# the samples: each "$ command" line of a README console block or of a man page's EXAMPLES,
# with the lines under it as its standard output and a trailing "# exit N" as its exit status
# (0 without one). The sample ".air" files lie side by side in the folder the examples run in,
# and /usr/share/kelvara/samples/FSX stands for a copy of the sample simulator folder.
# usage: docs_examples.sh SOURCE-DIR BIN-DIR SAMPLES-DIR
set -u
source=$1 bin=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 count=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

run=$work/run
mkdir -p "$run" "$work/config" "$work/data"
cp -R "$samples" "$work/FSX"
find "$work/FSX" -name '*.air' -exec cp {} "$run/" \;
# Only the dictionary beside the programs; none of the user's own.
export PATH=$bin:$PATH XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

# Prints the examples of one document as records: "$ command" lines and output lines.
examples_readme() {
    awk '/^```console$/ { inside = 1; next } /^```/ { inside = 0 } inside' "$1"
}
examples_man() {
    awk '/^\.SH / { examples = ($2 == "EXAMPLES") } examples && /^\.nf/ { inside = 1; next }
         /^\.fi/ { inside = 0 } examples && inside && !/^\./' "$1" |
        sed -e 's/\\-/-/g' -e 's/\\(dq/"/g' -e 's/\\&//g' -e 's/\\e/\\/g'
}

check_example() { # check_example DOCUMENT COMMAND EXPECTED-OUTPUT
    local document=$1 line=$2 expected=$3 command want=0 got rc
    command=${line%%  #*}
    [[ $line =~ \#\ exit\ ([0-9]+)$ ]] && want=${BASH_REMATCH[1]}
    command=${command//\/usr\/share\/kelvara\/samples\/FSX/$work/FSX}
    count=$((count + 1))
    got=$(cd "$run" && bash -c "$command" 2>"$work/stderr")
    rc=$?
    got=${got//$work\/FSX//usr/share/kelvara/samples/FSX}
    [[ $rc == "$want" && $got == "$expected" ]] ||
        fail "$document: $command: exit $rc (documented $want)
--- documented
$expected
--- printed
$got
--- stderr
$(cat "$work/stderr")"
}

run_document() { # run_document NAME < examples
    local name=$1 line command="" output="" have=0
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            ((have)) && check_example "$name" "$command" "$output"
            command=${line#\$ } output="" have=1
        elif ((have)); then
            output+=${output:+$'\n'}$line
        fi
    done
    ((have)) && check_example "$name" "$command" "$output"
}

run_document README.md < <(examples_readme "$source/README.md")
for page in kelvara-cli kelvara; do
    [ -x "$bin/$page" ] || { echo "skipped $page.1: no $bin/$page"; continue; }
    run_document "$page.1" < <(examples_man "$source/data/man/$page.1")
done

[ "$count" -ge 10 ] || fail "only $count examples found"
[ "$failures" -eq 0 ] && echo "docs examples: $count checked"
[ "$failures" -eq 0 ]
