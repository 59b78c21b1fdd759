#!/bin/sh
# check_resources.sh EXE: the built program holds exactly its resource table,
# as icoutils' wrestool lists it, the pictures as committed, the About box's
# template header and what its manifest declares.
set -eu
exe=$1
resources=$(dirname "$0")/../../resources
fail() { echo "FAIL: $*" >&2; exit 1; }

# The listing without file offsets, in a fixed order.
got=$(wrestool -l "$exe" | sed 's/offset=0x[0-9a-fA-F]* *//; s/ \]/]/' | LC_ALL=C sort)
want=$(LC_ALL=C sort <<'TABLE'
--type='WAVE' --name=600 --language=1033 [size=572]
--type='WAVE' --name=601 --language=1033 [size=6298]
--type=2 --name=409 --language=1033 [type=bitmap size=77920]
--type=2 --name=410 --language=1033 [type=bitmap size=174940]
--type=2 --name=411 --language=1033 [type=bitmap size=310680]
--type=24 --name=1 --language=1033 [size=1318]
--type=14 --name=300 --language=1033 [type=group_icon size=174]
--type=3 --name=1 --language=1033 [type=icon size=296]
--type=3 --name=2 --language=1033 [type=icon size=488]
--type=3 --name=3 --language=1033 [type=icon size=744]
--type=3 --name=4 --language=1033 [type=icon size=1640]
--type=3 --name=5 --language=1033 [type=icon size=1384]
--type=3 --name=6 --language=1033 [type=icon size=1736]
--type=3 --name=7 --language=1033 [type=icon size=2216]
--type=3 --name=8 --language=1033 [type=icon size=3752]
--type=3 --name=9 --language=1033 [type=icon size=872]
--type=3 --name=10 --language=1033 [type=icon size=1864]
--type=3 --name=11 --language=1033 [type=icon size=3240]
--type=3 --name=12 --language=1033 [type=icon size=3240]
--type=5 --name=200 --language=0 [type=dialog size=312]
TABLE
)
if [ "$got" != "$want" ]; then
  printf 'want:\n%s\ngot:\n%s\n' "$want" "$got" >&2
  fail "the resources of $exe differ from the table"
fi

# DLGTEMPLATEEX (version 1), help id 0, ex-style 0, style 0x90C800C8 (DS_SHELLFONT),
# 4 items, at 22,12, 120 x 72.
header=$(wrestool -x --type=5 --name=200 --raw "$exe" | od -An -v -tx1 -N26 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$header" = "01 00 ff ff 00 00 00 00 00 00 00 00 c8 00 c8 90 04 00 16 00 0c 00 78 00 48 00" ] || fail "About box header is '$header'"
# Each picture is its .bmp file without the 14-byte file header.
for picture in 409:clock.bmp 410:clock150.bmp 411:clock200.bmp; do
  embedded=$(wrestool -x --type=2 --name="${picture%%:*}" --raw "$exe" | sha256sum)
  committed=$(tail -c +15 "$resources/${picture#*:}" | sha256sum)
  [ "$embedded" = "$committed" ] || fail "bitmap ${picture%%:*} is not resources/${picture#*:}"
done

# The manifest: aware of each monitor's scale, with the older declarations as
# fallbacks; Windows 7, 8, 8.1 and 10 (and 11) supported; no visual styles.
manifest=$(wrestool -x --type=24 --name=1 --raw "$exe" | tr -s ' \r\n' ' ')
for declared in \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
  '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>' \
  '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>' \
  '<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>' \
  '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>' \
  '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
  case $manifest in *"$declared"*) ;; *) fail "the manifest lacks $declared" ;; esac
done
case $manifest in *Common-Controls* | *dependentAssembly*) fail "the manifest asks for visual styles" ;; esac
echo "$exe holds exactly the resource table"
