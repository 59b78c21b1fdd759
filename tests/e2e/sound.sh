#!/bin/sh
# Runs driver cases while recording what the clock plays into the harness's
# null sink. Run inside the harness environment: sound.sh DRIVER OUTDIR FILTER
set -eu
driver=$1
out=$2
filter=$3
mkdir -p "$out"
capture="$out/capture.raw"
rm -f "$capture"

parec --device="$VEXO_SINK.monitor" --format=s16le --rate=8000 --channels=1 --latency-msec=10 --raw >"$capture" &
recorder=$!
trap 'kill $recorder 2>/dev/null || true; wait $recorder 2>/dev/null || true' EXIT

# The moment of the first sample: the data written so far, counted back from now.
tries=0
while [ ! -s "$capture" ]; do
    tries=$((tries + 1))
    [ $tries -lt 500 ] || { echo "the recorder produced nothing"; exit 1; }
    sleep 0.01
done
now_ms=$(date +%s%3N)
size=$(stat -c %s "$capture")
VEXO_CAPTURE_START_MS=$((now_ms - size / 16))
VEXO_CAPTURE=$(winepath -w "$capture" | tr -d '\r')
export VEXO_CAPTURE VEXO_CAPTURE_START_MS
wine "$driver" --gtest_filter="$filter"
