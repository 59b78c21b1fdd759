#!/bin/sh
# Stands in for the web browser of the test desktop: Wine's browser bridge runs
# it as `browser.sh LOG ADDRESS`, and it appends what it was asked to open to LOG.
log=$1
shift
printf '%s\n' "$*" >>"$log"
