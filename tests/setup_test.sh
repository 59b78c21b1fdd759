#!/bin/sh
# setup_test.sh: scripts/setup runs no apt-get on a machine with everything installed, and a
# failed index update stops it only when the install fails too. apt-get, and dpkg-query where a
# package must read as missing, are stand-ins first on PATH; every other call is the machine's.
set -u
setup=$(dirname "$0")/../scripts/setup
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# apt-get logs each call and fails as told: "update" with $UPDATE_RC, "install" with $INSTALL_RC.
mkdir "$work/bin"
cat > "$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "$*" >> "$APT_LOG"
case "$*" in
    *update*) rc=$UPDATE_RC ;;
    *) rc=$INSTALL_RC ;;
esac
[ "$rc" = 0 ] || echo "E: stand-in apt-get $1 failed" >&2
exit "$rc"
EOF
# dpkg-query reads $MISSING as not installed, and asks the real one for the rest.
cat > "$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for last; do :; done
[ "$last" = "$MISSING" ] && { echo "not-installed"; exit 0; }
exec /usr/bin/dpkg-query "$@"
EOF
# The missing-package cases also run where the tests are not root.
printf '#!/bin/sh\necho 0\n' > "$work/bin/id"
chmod +x "$work/bin/"*

# case NAME MISSING UPDATE_RC INSTALL_RC WANT_RC WANT_CALLS: setup's exit code and apt-get's calls.
case_() {
    : > "$work/apt.log"
    APT_LOG=$work/apt.log MISSING=$2 UPDATE_RC=$3 INSTALL_RC=$4 PATH="$work/bin:$PATH" \
        "$setup" > "$work/out" 2>&1
    rc=$?
    calls=$(cut -d' ' -f1 "$work/apt.log" | paste -sd' ')
    [ "$rc" = "$5" ] || fail "$1: setup exited $rc, want $5; it printed: $(cat "$work/out")"
    [ "$calls" = "$6" ] || fail "$1: apt-get calls '$calls', want '$6'"
}
case_ "everything installed, apt-get failing" "" 100 100 0 ""
case_ "one missing, update fails, install works" xauth 100 0 0 "update install"
case_ "one missing, all works" xauth 0 0 0 "update install"
# A failed update is one line of setup's own, and a failed install shows apt's message.
case_ "one missing, update and install fail" xauth 100 100 100 "update install"
grep -q "setup: apt-get update failed" "$work/out" || fail "no line on the failed update"
grep -q "E: stand-in apt-get install" "$work/out" || fail "apt's install message is not shown"

[ "$failures" = 0 ] && echo "setup: every case passed"
exit "$failures"
