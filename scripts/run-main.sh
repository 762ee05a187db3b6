#!/usr/bin/env bash
# The main job: build the Windows distribution into dist/win32 and run what can run here. The
# Windows programs run under Wine in the prefix this machine can run: the 32-bit builds where it
# runs 32-bit code (OV_WINE_NO_32BIT=1 acts as if it did not), else their 64-bit builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-machine.sh
source scripts/wine-arch.sh
jobs=$(nproc)
cmake --preset win32 >/dev/null && cmake --build --preset win32 -j "$jobs"
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$jobs"
echo "Windows distribution:"
bash scripts/check-dist.sh

if ! reason32=$(ov_wine_arch_unavailable win32); then
  echo "Windows programs under Wine: the 32-bit builds, in a 32-bit prefix"
  ctest --test-dir build/win32 -L wine -j 2 --output-on-failure
elif ! reason64=$(ov_wine_arch_unavailable win64); then
  echo "Windows programs under Wine: the 64-bit builds, in a 64-bit prefix ($reason32)"
  ctest --test-dir build/win64 -L wine -j 2 --output-on-failure
else
  echo "Windows programs under Wine: not run ($reason64)"
fi
cmake --preset host >/dev/null && cmake --build --preset host -j "$jobs"
if [ -x build/host/bench/perf/jpeg_compare ]; then
  build/host/bench/perf/jpeg_compare
fi
bash bench/perf/run_vexmark_benchmark.sh
