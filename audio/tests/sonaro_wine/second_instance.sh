#!/bin/bash
# A window of another process carries the "SONARO application" marker: sonaro brings it to the
# foreground and ends with -1 without looking for its device.
# Arguments: sonaro.exe (the shipped one), sonaro_simdriver.exe (the same program with the
# simulated driver, which reports whether its device was looked up), sonaro_probe.exe.
. "$(dirname "$0")/common.sh"
PROBE=$3
work=$(mktemp -d)
for program in "$1" "$2"; do
  wine "$PROBE" marker 30 >"$work/marker.out" 2>&1 &
  marker=$!
  for _ in $(seq 100); do
    grep -q "marker ready" "$work/marker.out" && break
    sleep 0.1
  done
  wine "$program"
  rc=$?
  ((rc == 255)) || fail "$(basename "$program"): exit code $rc, expected -1 (255)"
  wait "$marker" || fail "$(basename "$program"): the marked window was not brought forward"
  cat "$work/marker.out"
done
grep -q "sim driver: device looked up 0 times" <(cut -f2- "$OV_DEBUG_LOG") ||
  fail "the device was looked up: $(cut -f2- "$OV_DEBUG_LOG" | grep 'sim driver')"
rm -rf "$work"
finish
