#!/usr/bin/env bash
# The main job: build the Windows distribution into dist/win32 and run what can run here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-machine.sh
jobs=$(nproc)
cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs"
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$jobs"
echo "Windows distribution:"
bash scripts/check-dist.sh
cmake --preset host >/dev/null && cmake --build --preset host -j "$jobs"
if [ -x build/host/bench/perf/jpeg_compare ]; then
  build/host/bench/perf/jpeg_compare
fi
