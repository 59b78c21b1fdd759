#!/bin/sh
# check_resources.sh EXE: the built program holds exactly its resource table,
# as icoutils' wrestool lists it, and the About box's template header.
set -eu
exe=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

# The listing without file offsets, in a fixed order.
got=$(wrestool -l "$exe" | sed 's/offset=0x[0-9a-fA-F]* *//; s/ \]/]/' | LC_ALL=C sort)
want=$(LC_ALL=C sort <<'TABLE'
--type='WAVE' --name=600 --language=1033 [size=572]
--type='WAVE' --name=601 --language=1033 [size=6298]
--type=2 --name=409 --language=1033 [type=bitmap size=77920]
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
--type=5 --name=200 --language=0 [type=dialog size=274]
TABLE
)
if [ "$got" != "$want" ]; then
  printf 'want:\n%s\ngot:\n%s\n' "$want" "$got" >&2
  fail "the resources of $exe differ from the table"
fi

# DLGTEMPLATE: style 0x90C800C0, ex-style 0, 4 items, at 22,12, 120 x 72.
header=$(wrestool -x --type=5 --name=200 --raw "$exe" | od -An -v -tx1 -N18 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$header" = "c0 00 c8 90 00 00 00 00 04 00 16 00 0c 00 78 00 48 00" ] || fail "About box header is '$header'"
echo "$exe holds exactly the resource table"
