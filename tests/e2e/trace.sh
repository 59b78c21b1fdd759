#!/bin/sh
# Runs driver cases that read Wine's trace of what the clock asks of the platform:
#   trace.sh HARNESS STATEDIR ARCH DRIVER FILTER
# The cases start the clock with WINEDEBUG channels of their own. The clock's lines
# (+sync, warn+ntdll) go to the driver's stderr, here the file VEXO_TRACE_WIN names; the
# wineserver prints +server requests to its own log. A server
# traces every process once one client asked it to, until it ends, so these cases
# get a desktop and wineserver of their own, stopped when they end.
set -u
harness=$1
state=$2
arch=$3
driver=$4
filter=$5

"$harness" start "$state" "$arch" || exit 1
trap '"$harness" stop "$state"' EXIT
"$harness" exec "$state" sh -c '
    VEXO_TRACE_WIN=$(winepath -w "$VEXO_STATE/driver.err" | tr -d "\r")
    VEXO_SERVER_LOG_WIN=$(winepath -w "$VEXO_STATE/log/wineserver.log" | tr -d "\r")
    export VEXO_TRACE_WIN VEXO_SERVER_LOG_WIN
    wine "$1" --gtest_filter="$2" 2>"$VEXO_STATE/driver.err"
    status=$?
    # What the driver itself wrote to stderr, without the trace.
    grep -av ":trace:\|:warn:\|:fixme:\|:err:" "$VEXO_STATE/driver.err"
    exit $status' trace "$driver" "$filter"
