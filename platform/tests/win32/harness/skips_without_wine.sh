#!/usr/bin/env bash
# Usage: skips_without_wine.sh RUNNER
# Without Wine on the PATH the runner must report a skip (77), never a pass.
runner=$1
output=$(PATH=/nonexistent /bin/bash "$runner" -- true 2>&1)
rc=$?
if ((rc != 77)) || [[ $output != *skipped* ]]; then
  echo "expected a skip (77), got $rc: $output" >&2
  exit 1
fi
