#!/bin/sh
# Looks at the clock on the screen: a screenshot of the X display, read pixel
# by pixel. Run inside the harness environment: look.sh DRIVER OUTDIR
set -eu
driver=$1
out=$2
mkdir -p "$out"
shot="$out/screen.png"

# The clock inherits the driver's output; a file, unlike a pipe, does not
# keep the shell waiting for the clock to end.
wine "$driver" --start-clock >"$out/started"
set -- $(cat "$out/started")
[ $# -eq 5 ] || { echo "the clock did not start"; exit 1; }
pid=$1 left=$2 top=$3 width=$4 height=$5
trap 'wine "$driver" --close-clock "$pid" >/dev/null 2>&1 || true' EXIT

# Prints how many pixels of a client-area rectangle match an awk condition on
# r, g, b (0-255), then the rectangle's pixel count.
count() { # x y width height condition
    convert "$shot" -crop "$3x$4+$((left + $1))+$((top + $2))" +repage -depth 8 txt:- |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
        awk -v cond="$5" '
            { r = $1; g = $2; b = $3; n++
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

check_screenshot() {
    fail=0 report=
    set -- $(count 0 0 4 "$height" black); expect "black left margin of the client area" "$1" "$2" 100
    set -- $(count 0 177 "$width" $((height - 177)) black)
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
}

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
exit $fail
