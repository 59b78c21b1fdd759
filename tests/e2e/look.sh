#!/bin/sh
# Looks at the clock on the screen at each display scale given: a screenshot of
# the X display, read pixel by pixel, and the layout as the driver measures it.
# Run inside the harness environment: look.sh DRIVER OUTDIR [DPI...] (96 when
# none is given). Each DPI is the prefix's LogPixels while its clock starts; the
# value found before is put back at the end. The positions below are the form's
# at 96 DPI, scaled to each DPI as the clock scales them. At 144 DPI the client
# area must also match look-144.png, a screenshot made once and looked at; each
# run leaves its own in OUTDIR, to replace it with after a change of the look.
set -eu
driver=$1
out=$2
shift 2
[ $# -gt 0 ] || set -- 96
mkdir -p "$out"
reference=$(dirname "$0")/look-144.png

desktop='HKCU\Control Panel\Desktop'
saved=$(wine reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' |
    sed -n 's/.*REG_DWORD[[:space:]]*0x\([0-9a-fA-F]*\).*/\1/p')
restore_dpi() {
    if [ -n "$saved" ]; then
        wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((0x$saved)) /f
    else
        wine reg delete "$desktop" /v LogPixels /f
    fi >/dev/null 2>&1 || true
}
pid=
# The clock inherits the driver's output; a file, unlike a pipe, does not
# keep the shell waiting for the clock to end.
trap '[ -z "$pid" ] || wine "$driver" --close-clock "$pid" >/dev/null 2>&1 || true; restore_dpi' EXIT

# A length of the 96-DPI layout at the DPI being looked at, rounded as MulDiv rounds.
s() { echo $((($1 * dpi + 48) / 96)); }

# The pixels of a client-area rectangle, one "x y r g b" line each (0-255).
pixels() { # x y width height
    convert "$shot" -crop "$3x$4+$((left + $1))+$((top + $2))" +repage -depth 8 txt:- |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3 \4 \5/p'
}

# Prints how many pixels of a rectangle of the 96-DPI layout, scaled, match an
# awk condition on r, g, b, then the rectangle's pixel count.
count() { # x y width height condition
    pixels $(s "$1") $(s "$2") $(s "$3") $(s "$4") |
        awk -v cond="$5" '
            { r = $3; g = $4; b = $5; n++
                       if (cond == "black" && r < 16 && g < 16 && b < 16) k++
                       # Silver text is 0xC0C0C0 with darker grey edges where the
                       # font is smoothed; white, or any grey above silver, is not it.
                       if (cond == "silver" && r > 120 && r <= 200 && r == g && g == b) k++
                       if (cond == "bright" && r > 200 && g > 200 && b > 200) k++
                       if (cond == "light" && r > 150 && g > 150 && b > 150) k++
                       if (cond == "red" && r > 150 && g < 90 && b < 90) k++
                       if (cond == "blue" && b > 100 && r < 100 && b > g) k++
                       if (cond == "darkred" && r > 60 && r > 2 * g && r > 2 * b) k++ }
            END { print k + 0, n + 0 }'
}

# How many rows of the clock label hold red: the height of its digits.
red_rows() {
    pixels $(s 56) $(s 64) $(s 112) $(s 16) |
        awk '$3 > 150 && $4 < 90 && $5 < 90 { if (!seen[$2]++) n++ } END { print n + 0 }'
}

# The conditions are checked on one screenshot; report collects their lines.
expect() { # description, matched, total, minimum share in percent
    if [ $(( $2 * 100 )) -ge $(( $3 * $4 )) ] && [ "$3" -gt 0 ]; then
        report="$report
ok: $1 ($2 of $3 pixels)"
    else
        report="$report
FAIL: $1 ($2 of $3 pixels, want at least $4%)"; fail=1
    fi
}
expect_none() { # description, matched, total
    if [ "$2" -eq 0 ] && [ "$3" -gt 0 ]; then
        report="$report
ok: $1 (none of $3 pixels)"
    else
        report="$report
FAIL: $1 ($2 of $3 pixels, want none)"; fail=1
    fi
}
expect_true() { # description, command that must succeed
    what=$1
    shift
    if "$@"; then report="$report
ok: $what"; else report="$report
FAIL: $what"; fail=1; fi
}
within_1() { [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]; }

check_screenshot() {
    fail=0 report=
    bottom=$(s 177)
    set -- $(count 0 0 4 183 black); expect "black left margin of the client area" "$1" "$2" 100
    set -- $(pixels 0 "$bottom" "$width" $((height - bottom)) | awk '$3 < 16 && $4 < 16 && $5 < 16 { k++ }
            END { print k + 0, NR }')
    expect "black bottom band of the client area" "$1" "$2" 100
    set -- $(count 12 155 16 16 silver);    expect "silver digits in the hours field" "$1" "$2" 5
    set -- $(count 12 155 16 16 bright);    expect_none "nothing brighter than silver in the hours field" "$1" "$2"
    set -- $(count 12 155 16 16 black);     expect "black background of the hours field" "$1" "$2" 50
    set -- $(count 52 155 12 16 silver);    expect "silver digits in the minutes field" "$1" "$2" 5
    set -- $(count 52 155 12 16 bright);    expect_none "nothing brighter than silver in the minutes field" "$1" "$2"
    set -- $(count 36 153 8 12 silver);     expect "silver colon" "$1" "$2" 3
    set -- $(count 36 153 8 12 bright);     expect_none "nothing brighter than silver in the colon" "$1" "$2"
    set -- $(count 4 120 120 28 light);     expect "light face of the Test button" "$1" "$2" 50
    set -- $(count 124 120 120 28 light);   expect "light face of the Snooze button" "$1" "$2" 50
    set -- $(count 124 148 120 28 light);   expect "light face of the Alarm button" "$1" "$2" 50
    set -- $(count 56 64 112 16 red);       expect "red digits of the clock" "$1" "$2" 5
    set -- $(count 56 61 112 22 black);     expect "black display area behind the clock" "$1" "$2" 50
    set -- $(count 10 10 235 110 blue);     expect "blue front frame of the clock picture" "$1" "$2" 3
    set -- $(count 10 10 235 110 darkred);  expect "dark red case of the clock picture" "$1" "$2" 3
    # The digits' height, against the first DPI's scaled: the clock's font follows the scale.
    digits=$(red_rows)
    base=${first_digits:-$digits} base_dpi=${first_dpi:-$dpi}
    want=$(((base * dpi + base_dpi / 2) / base_dpi))
    expect_true "red digits $digits px high, $base at $base_dpi DPI scaled is $want (within 1)" within_1 "$digits" "$want"
    if [ "$dpi" -eq 144 ]; then
        # The client area without the time, which changes every second.
        convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage -fill black \
            -draw "rectangle $(s 56),$(s 64) $(($(s 56) + $(s 112) - 1)),$(($(s 64) + $(s 16) - 1))" \
            "$out/look-144.png"
        differ=$(compare -metric AE -fuzz 10% "$out/look-144.png" "$reference" null: 2>&1) || true
        expect_true "the client area at 144 DPI as in look-144.png ($differ pixels differ)" [ "$differ" = 0 ]
    fi
}

failed=0 first_digits= first_dpi=
for dpi in "$@"; do
    shot="$out/screen-$dpi.png"
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine "$driver" --start-clock >"$out/started"
    set -- $(cat "$out/started")
    [ $# -eq 5 ] || { echo "FAIL: the clock did not start at $dpi DPI"; exit 1; }
    pid=$1 left=$2 top=$3 width=$4 height=$5
    echo "at $dpi DPI:"
    # The form paints once it is shown, and the clock label repaints every second:
    # a screenshot between its erase and its drawing holds no red. So screenshots
    # are taken until one meets every condition, for at most 5 seconds; a failure
    # reports the conditions of the last one.
    deadline=$(( $(date +%s%N) / 1000000 + 5000 ))
    while :; do
        import -window root "$shot"
        check_screenshot
        [ $fail -eq 0 ] && break
        [ $(( $(date +%s%N) / 1000000 )) -lt $deadline ] || break
        sleep 0.1
    done
    echo "${report#?}"
    echo "screenshot: $shot"
    [ $fail -eq 0 ] || failed=1
    [ -n "$first_digits" ] || first_digits=$digits first_dpi=$dpi
    wine "$driver" --check-layout "$pid" "$dpi" || failed=1
    wine "$driver" --close-clock "$pid" >/dev/null 2>&1 || { echo "FAIL: the clock did not close"; failed=1; }
    pid=
done
exit $failed
