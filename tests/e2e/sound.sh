#!/bin/sh
# Runs driver cases while the harness records what the clock plays into the session's
# null sink. Run inside the harness environment: sound.sh DRIVER OUTDIR FILTER
set -eu
driver=$1
out=$2
filter=$3
mkdir -p "$out"
capture="$out/capture.raw"

recorder=$("$(dirname "$0")/harness" record "$VEXO_STATE" "$capture" 8000 s16le)
trap 'kill $recorder 2>/dev/null || true' EXIT

# The driver reads the recording as it grows; sample 0 was played at this wall-clock time.
VEXO_CAPTURE_START_MS=$(($(cat "$capture.start") / 1000000))
VEXO_CAPTURE=$(winepath -w "$capture" | tr -d '\r')
export VEXO_CAPTURE VEXO_CAPTURE_START_MS
wine "$driver" --gtest_filter="$filter"
