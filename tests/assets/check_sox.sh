#!/bin/sh
# check_sox.sh DIR: sox, which nobody here wrote, reads both sounds in DIR
# with the format the player is given, and hears the alarm's tone and levels.
set -eu
dir=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

format() {  # file channels rate bits samples
  got="$(soxi -c "$dir/$1") $(soxi -r "$dir/$1") $(soxi -b "$dir/$1") $(soxi -s "$dir/$1") $(soxi -e "$dir/$1")"
  [ "$got" = "$2 Unsigned Integer PCM" ] || fail "$1: channels rate bits samples encoding are '$got', want '$2'"
}
format silence.wav "1 22050 8 514"
format alarm.wav "2 8000 8 3120"

sox_stat() {  # file field [sox effects...]: one value of sox's "stat" report
  file=$1 field=$2
  shift 2
  sox "$dir/$file" -n "$@" stat 2>&1 | sed -n "s/^$field: *//p"
}
[ "$(sox_stat silence.wav 'Maximum amplitude')" = 0.000000 ] || fail "silence.wav is not silent"
[ "$(sox_stat silence.wav 'Minimum amplitude')" = 0.000000 ] || fail "silence.wav is not silent"

# The soft first 125 ms: a clean 800 Hz tone at about a quarter of full scale.
soft=$(sox_stat alarm.wav 'Maximum amplitude' remix 1 trim 0 0.125)
hertz=$(sox_stat alarm.wav 'Rough   frequency' remix 1 trim 0 0.125)
awk -v a="$soft" 'BEGIN { exit !(a >= 0.18 && a <= 0.32) }' || fail "soft part peaks at $soft"
[ "$hertz" -ge 770 ] && [ "$hertz" -le 830 ] || fail "soft part's frequency is $hertz Hz"
# The loud part reaches both ends of the 8-bit range.
[ "$(sox_stat alarm.wav 'Minimum amplitude' remix 1 trim 0.13 0.2)" = -1.000000 ] || fail "loud part is not clipped low"
[ "$(sox_stat alarm.wav 'Maximum amplitude' remix 1 trim 0.13 0.2)" = 0.992188 ] || fail "loud part is not clipped high"
# The end is silent, so the loop joins without a click.
[ "$(sox_stat alarm.wav 'Maximum amplitude' trim 0.385)" = 0.000000 ] || fail "alarm.wav does not end silent"
echo "sox reads both sounds as expected"
