#!/usr/bin/env bash
# Installs into a temporary prefix and checks that the installed programs find their own data:
# the installed kelvara-cli must dump every installed sample exactly as the build folder's does.
# usage: install_test.sh BUILD-DIR SOURCE-DIR BUILD-CLI [BUILD-GUI]
set -u
build=$1 source=$2 build_cli=$3 build_gui=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"; echo "FAIL cmake --install"; exit 1; }
[ -e "$prefix/bin/KVR.ini" ] && fail "KVR.ini belongs in share/kelvara, not bin"
# The user's own copies must not leak into the comparisons below.
export XDG_DATA_HOME=$work/user-data XDG_CONFIG_HOME=$work/user-config

compare_dumps() { # compare_dumps INSTALLED-PREFIX: every sample, installed vs build folder
    local count=0 rel
    while IFS= read -r -d '' air; do
        rel=${air#"$source/data/samples/"} count=$((count + 1))
        "$build_cli" dump "$air" >"$work/expected" 2>/dev/null
        "$1/bin/kelvara-cli" dump "$1/share/kelvara/samples/$rel" >"$work/got" 2>"$work/stderr"
        [[ $? == 0 && ! -s $work/stderr ]] || fail "$1: dump $rel: $(cat "$work/stderr")"
        cmp -s "$work/expected" "$work/got" || fail "$1: dump $rel differs from the build folder's"
    done < <(find "$source/data/samples" -name '*.air' -print0)
    [ "$count" -gt 0 ] || fail "no samples in $source/data/samples"
}
# A KVR.ini in the current folder is never read; the tree works wherever it is moved to.
mkdir "$work/cwd" && printf '[records]\n1101=From the current folder,float\n' >"$work/cwd/KVR.ini"
(cd "$work/cwd" && compare_dumps "$prefix")
mv "$prefix" "$work/moved" && compare_dumps "$work/moved" && mv "$work/moved" "$prefix"

jet=$prefix/share/kelvara/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air
# Only the samples' own files are installed: no backups a run left, no notes for developers.
extra=$(cd "$prefix/share/kelvara/samples" && find . -type f ! -iname '*.air' ! -iname '*.cfg' ! -iname '*.jpg' -o -name '*.kvr*.air')
[ -z "$extra" ] || fail "stray files among the installed samples: $extra"
# No address that belongs to no one: placeholder domains, in texts, man pages and programs.
while IFS= read -r -d '' f; do
    case $f in *.gz) text=$(gzip -dc "$f") ;; *) text=$(tr -c '[:print:]\n' '\n' <"$f") ;; esac
    grep -qiE 'example\.(org|com|net)|\.invalid\b' <<<"$text" && fail "placeholder address in ${f#"$prefix/"}"
done < <(find "$prefix" -type f -print0)
[ -f "$prefix/share/kelvara/manual.html" ] || fail "no manual in share/kelvara"

# A user's own dictionary in ~/.config/kelvara survives an install into ~/.local, which
# writes its own copy to the old place ~/.local/share/kelvara, and wins over both.
home=$work/home
mkdir -p "$home/.config/kelvara"
sed 's/^1101=[^,]*/1101=Users own wing area/' "$prefix/share/kelvara/KVR.ini" >"$home/.config/kelvara/KVR.ini"
cp "$home/.config/kelvara/KVR.ini" "$work/own.ini"
cmake --install "$build" --prefix "$home/.local" >"$work/install.log" 2>&1 || fail "install into ~/.local"
cmp -s "$work/own.ini" "$home/.config/kelvara/KVR.ini" || fail "the install changed ~/.config/kelvara/KVR.ini"
HOME=$home XDG_CONFIG_HOME= XDG_DATA_HOME= "$home/.local/bin/kelvara-cli" tree "$jet" | grep -q "Users own wing area" ||
    fail "the user's KVR.ini in ~/.config/kelvara was not read"

# Without any dictionary the tool says where it looked, and fails.
cp "$prefix/bin/kelvara-cli" "$work/lonely-cli"
for command in "check $jet" "dump $jet" "diff $jet $jet" "tree $jet"; do
    # shellcheck disable=SC2086
    "$work/lonely-cli" $command >"$work/stdout" 2>"$work/stderr"
    code=$?
    [[ $code == 2 && ! -s $work/stdout && $(wc -l <"$work/stderr") == 1 ]] &&
        grep -qF "KVR.ini not found in: $XDG_CONFIG_HOME/kelvara/KVR.ini $XDG_DATA_HOME/kelvara/KVR.ini $work/KVR.ini" "$work/stderr" ||
        fail "missing dictionary, $command: exit $code: $(cat "$work/stderr")"
done
"$prefix/bin/kelvara-cli" --ini /nonexistent dump "$jet" >"$work/stdout" 2>/dev/null
[[ $? == 2 && ! -s $work/stdout ]] || fail "--ini /nonexistent dump did not fail"

# --help, -h and --version answer without a display; the editor's help names its arguments;
# an unknown option is refused with the usage, before any window.
for p in kelvara-cli ${build_gui:+kelvara}; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" -h 2>&1)
    [[ $? == 0 && $out == usage:\ $p* ]] || fail "$p -h printed [$out]"
    env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --verison "$jet" >"$work/stdout" 2>"$work/stderr"
    [[ $? == 1 && ! -s $work/stdout && $(cat "$work/stderr") == *--verison*usage:\ $p* ]] ||
        fail "$p --verison: $(cat "$work/stdout" "$work/stderr")"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --version 2>&1)
    [[ $? == 0 && $out =~ ^$p\ [0-9]+\.[0-9]+ ]] || fail "$p --version printed [$out]"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --help 2>&1)
    [[ $? == 0 && $out == usage:\ $p* && ($p == kelvara-cli || $out == *FILE.air*--screenshot*) ]] ||
        fail "$p --help printed [$out]"
    warnings=$(gzip -dc "$prefix/share/man/man1/$p.1.gz" | groff -man -ww -z 2>&1)
    [[ $? == 0 && -z $warnings ]] || fail "man page $p.1: $warnings"
done
[ -n "$build_gui" ] || { [ "$failures" -eq 0 ]; exit; }

id=io.github.kelvara.Kelvara
apps=$prefix/share/applications/$id.desktop
[ -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$apps")" ] || fail "the desktop entry starts no installed program"
[ "$(sed -n 's/^Icon=//p' "$apps")" = $id ] || fail "the desktop entry's icon is not $id"
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    # PNG header: width and height, big-endian, at bytes 16..23.
    [ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] ||
        fail "no $size x $size icon at $icon"
done
for f in metainfo/$id.metainfo.xml icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$prefix/share/$f" ] || fail "not installed: share/$f"
done

# The installed editor starts on an installed sample, logs the dictionary it chose, and keeps
# its settings out of bin/.
mkdir -p "$XDG_CONFIG_HOME/kelvara" && printf 'debug = 1\n' >"$XDG_CONFIG_HOME/kelvara/kvr.cfg"
QT_QPA_PLATFORM=offscreen "$prefix/bin/kelvara" --quit-after-show "$jet" >"$work/gui.log" 2>&1 ||
    fail "installed kelvara did not start: $(cat "$work/gui.log")"
grep -qxF "KVR.ini: $prefix/share/kelvara/KVR.ini" "$XDG_CONFIG_HOME/kelvara/_debug.txt" ||
    fail "_debug.txt does not name the installed KVR.ini"
[ -e "$prefix/bin/kvr.cfg" ] && fail "the installed editor wrote its settings into bin/"
[ "$failures" -eq 0 ]
