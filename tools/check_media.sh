#!/bin/sh
# Regenerate every media file into a temporary folder and compare it byte
# for byte with the committed media/.  Exit 0 when all match, 1 when a
# file differs or is missing, 77 (skip) when the generator's tools are
# not installed on this machine.
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
media="$root/media"
py=/usr/bin/python3

missing=""
[ -x "$py" ] || missing="$missing $py"
for tool in lame espeak-ng; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -x "$py" ] && ! "$py" -c 'import numpy, PIL' >/dev/null 2>&1; then
    missing="$missing python3-numpy/python3-pil"
fi
if [ -n "$missing" ]; then
    echo "check_media: skipped, not installed:$missing"
    exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp" "$tmp.log"' EXIT INT TERM

if ! "$py" "$here/gen_media.py" --out "$tmp" >"$tmp.log" 2>&1; then
    cat "$tmp.log"
    rm -f "$tmp.log"
    echo "check_media: the generator failed"
    exit 1
fi
rm -f "$tmp.log"

status=0
count=0
for f in "$tmp"/*; do
    name=$(basename "$f")
    count=$((count + 1))
    if [ ! -f "$media/$name" ]; then
        echo "check_media: media/$name is missing"
        status=1
    elif ! cmp -s "$f" "$media/$name"; then
        echo "check_media: media/$name differs from a fresh generation"
        status=1
    fi
done
for f in "$media"/*; do
    name=$(basename "$f")
    if [ ! -e "$tmp/$name" ]; then
        echo "check_media: media/$name is not made by the generator"
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "check_media: all $count files match"
fi
exit "$status"
