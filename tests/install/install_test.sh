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

# The user's and the current folder's copies must not leak into the comparisons below.
export XDG_DATA_HOME=$work/user-data XDG_CONFIG_HOME=$work/user-config
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

wanted=(bin/kelvara-cli share/kelvara/KVR.ini share/man/man1/kelvara-cli.1.gz
        share/kelvara/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air
        share/kelvara/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/texture/thumbnail.jpg)
if [ -n "$build_gui" ]; then
    wanted+=(bin/kelvara share/man/man1/kelvara.1.gz
             share/applications/org.example.Kelvara.desktop
             share/metainfo/org.example.Kelvara.metainfo.xml
             share/icons/hicolor/scalable/apps/org.example.Kelvara.svg
             share/icons/hicolor/256x256/apps/org.example.Kelvara.png)
fi
for f in "${wanted[@]}"; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -e "$prefix/bin/KVR.ini" ] && fail "KVR.ini belongs in share/kelvara, not bin"

# Every sample, dumped by the installed program from the installed tree and by the build
# folder's program from the source tree.
compare_dumps() { # compare_dumps LABEL INSTALLED-CLI SAMPLES-DIR
    local label=$1 cli=$2 samples=$3 count=0 rel
    while IFS= read -r -d '' air; do
        rel=${air#"$source/data/samples/"}
        count=$((count + 1))
        "$build_cli" dump "$air" >"$work/expected" 2>/dev/null
        if ! "$cli" dump "$samples/$rel" >"$work/got" 2>"$work/stderr"; then
            fail "$label: dump $rel: $(cat "$work/stderr")"
        elif [ -s "$work/stderr" ]; then
            fail "$label: dump $rel warned: $(cat "$work/stderr")"
        elif ! cmp -s "$work/expected" "$work/got"; then
            fail "$label: dump $rel differs from the build folder's"
            diff "$work/expected" "$work/got" | head -5
        fi
    done < <(find "$source/data/samples" -name '*.air' -print0)
    [ "$count" -gt 0 ] || fail "$label: no samples found"
}

# A KVR.ini in the current folder must not be read.
mkdir "$work/cwd" && printf '[records]\n1101=From the current folder,float\n' >"$work/cwd/KVR.ini"
(cd "$work/cwd" && compare_dumps installed "$prefix/bin/kelvara-cli" "$prefix/share/kelvara/samples")

# The installed tree works wherever it is moved.
mv "$prefix" "$work/moved"
compare_dumps moved "$work/moved/bin/kelvara-cli" "$work/moved/share/kelvara/samples"
mv "$work/moved" "$prefix"

# A user's own dictionary wins over the installed one.
jet=$prefix/share/kelvara/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air
mkdir -p "$XDG_DATA_HOME/kelvara"
sed 's/^1101=[^,]*/1101=Users own wing area/' "$prefix/share/kelvara/KVR.ini" \
    >"$XDG_DATA_HOME/kelvara/KVR.ini"
"$prefix/bin/kelvara-cli" tree "$jet" | grep -q "Users own wing area" ||
    fail "the user's KVR.ini in \$XDG_DATA_HOME/kelvara was not read"
rm -r "$XDG_DATA_HOME/kelvara"

# Without any dictionary the tool says where it looked.
cp "$prefix/bin/kelvara-cli" "$work/lonely-cli"
"$work/lonely-cli" check "$jet" >/dev/null 2>"$work/stderr"
grep -qF "KVR.ini not found in: $XDG_DATA_HOME/kelvara/KVR.ini $work/KVR.ini" "$work/stderr" ||
    fail "missing dictionary: $(cat "$work/stderr")"

# --help and --version answer without a display and exit 0.
programs=(kelvara-cli)
[ -n "$build_gui" ] && programs+=(kelvara)
for p in "${programs[@]}"; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --version 2>&1) ||
        fail "$p --version: exit $?"
    [[ $out =~ ^$p\ [0-9]+\.[0-9]+ ]] || fail "$p --version printed [$out]"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$p" --help 2>&1) || fail "$p --help: exit $?"
    [[ $out == usage:\ $p* ]] || fail "$p --help printed [$out]"
done
if [ -n "$build_gui" ]; then
    "$prefix/bin/kelvara" --help | grep -q -- "--screenshot" || fail "kelvara --help lacks --screenshot"
    "$prefix/bin/kelvara" --help | grep -q "FILE.air" || fail "kelvara --help lacks the start file"
fi

# Man pages render without a warning.
for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(gzip -dc "$page" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

if [ -n "$build_gui" ]; then
    apps=$prefix/share/applications/org.example.Kelvara.desktop
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$apps")
    [ -x "$prefix/bin/$exec_name" ] || fail "the desktop entry starts [$exec_name], which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$apps")
    [ -f "$prefix/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "no 256 px icon named [$icon]"
    # PNG header: width and height, big-endian, at bytes 16..23.
    size=$(od -An -tx1 -j16 -N8 "$prefix/share/icons/hicolor/256x256/apps/$icon.png" | tr -d ' \n')
    [ "$size" = 0000010000000100 ] || fail "the 256 px icon is not 256 x 256 (header $size)"

    # The installed editor starts on an installed sample and logs the dictionary it chose.
    mkdir -p "$XDG_CONFIG_HOME/kelvara" && printf 'debug = 1\n' >"$XDG_CONFIG_HOME/kelvara/kvr.cfg"
    QT_QPA_PLATFORM=offscreen "$prefix/bin/kelvara" --quit-after-show "$jet" >"$work/gui.log" 2>&1 ||
        fail "installed kelvara did not start: $(cat "$work/gui.log")"
    grep -qxF "KVR.ini: $prefix/share/kelvara/KVR.ini" "$XDG_CONFIG_HOME/kelvara/_debug.txt" 2>/dev/null ||
        fail "_debug.txt does not name the installed KVR.ini: $(cat "$XDG_CONFIG_HOME/kelvara/_debug.txt" 2>&1)"
    [ -e "$prefix/bin/kvr.cfg" ] && fail "the installed editor wrote its settings into bin/"
fi

[ "$failures" -eq 0 ] && echo "install test: all checks passed"
[ "$failures" -eq 0 ]
