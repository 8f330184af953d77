#!/usr/bin/env bash
# Builds the Debian package and checks its control data and contents, then runs the packaged
# kelvara-cli from the unpacked tree.
# usage: package_test.sh BUILD-DIR SOURCE-DIR
set -u
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"; echo "FAIL cpack -G DEB"; exit 1; }
debs=("$work"/out/kelvara_*.deb)
deb=${debs[0]}
[[ $(basename "$deb") =~ ^kelvara_[0-9.]+-1_[a-z0-9]+\.deb$ ]] || { ls -R "$work/out"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
# dpkg-shlibdeps names the libraries the programs link, with versions.
for lib in libc6 libstdc++6 libqt6widgets6 libjpeg62-turbo libexpat1 qt6-qpa-plugins; do
    [[ ", $depends," == *", $lib"[\ ,]* ]] || fail "Depends lacks $lib: [$depends]"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
[[ $depends == *"libc6 (>="* ]] || fail "Depends without versions, dpkg-shlibdeps did not run: [$depends]"

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
# The installed tree itself is checked by install_test.sh; here, what dpkg adds or needs.
for f in ./usr/bin/kelvara ./usr/share/kelvara/KVR.ini ./usr/share/doc/kelvara/copyright \
         ./usr/share/doc/kelvara/changelog.Debian.gz; do
    grep -qxF "$f" "$work/contents" || fail "not in the package: $f"
done
grep -E '^\./usr/(local|lib/x86_64|include)|/_CPack|/tests?/' "$work/contents" && fail "stray files in the package"

dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/bin/kelvara-cli" | grep -q 'not stripped' && fail "kelvara-cli is not stripped"
jet=$work/root/usr/share/kelvara/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air
XDG_DATA_HOME=$work/none "$work/root/usr/bin/kelvara-cli" dump "$jet" >"$work/got" 2>"$work/stderr" ||
    fail "packaged kelvara-cli: $(cat "$work/stderr")"
[ -s "$work/stderr" ] && fail "packaged kelvara-cli warned: $(cat "$work/stderr")"
"$build/bin/kelvara-cli" dump "$source/data/samples/FSX/SimObjects/Airplanes/Kelvara_Jet/Kelvara_Jet.air" \
    >"$work/expected" 2>/dev/null
cmp -s "$work/expected" "$work/got" || fail "packaged kelvara-cli dumps the sample differently"

[ "$failures" -eq 0 ] && echo "package test: $(basename "$deb") checked"
[ "$failures" -eq 0 ]
