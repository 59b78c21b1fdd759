#!/bin/sh
# The zip holds the program as built and the README as text, and nothing else.
# check_zip.sh ZIP PROGRAM README
set -eu
zip=$1 program=$2 readme=$3
listing=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$listing" = "README.txt vexo.exe " ] || { echo "the zip holds: $listing"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
cmake -E tar xf "$zip"
cmp vexo.exe "$program"
tr -d '\r' <README.txt | cmp - "$readme"
echo "ok: README.txt and vexo.exe, the program as built"
