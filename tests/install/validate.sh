#!/usr/bin/env sh
# Runs a desktop-file validator; any message fails. A missing validator skips with its reason.
# usage: validate.sh desktop|metainfo FILE
kind=$1 file=$2
case $kind in
desktop) tool=desktop-file-validate package=desktop-file-utils ;;
metainfo) tool=appstreamcli package=appstream ;;
*) echo "unknown kind $kind"; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (Debian package $package; scripts/setup installs it)"
    exit 77
fi
if [ "$kind" = desktop ]; then
    out=$(desktop-file-validate "$file" 2>&1) && [ -z "$out" ] && exit 0
else
    out=$(appstreamcli validate --no-net --pedantic "$file" 2>&1) && exit 0
fi
echo "$out"
exit 1
