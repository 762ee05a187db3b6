#!/usr/bin/env bash
# Every test: host (plain and sanitizers), the Windows cross-builds, the Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-machine.sh

stage() {
  local name=$1; shift
  local start=$SECONDS
  echo "=== $name"
  "$@"
  echo "=== $name: $((SECONDS - start)) s"
}

jobs=${OV_JOBS:-$(nproc)}
stage "host build" bash -c "cmake --preset host >/dev/null && cmake --build --preset host -j $jobs"
stage "host tests" ctest --preset host
stage "win32 build" bash -c "cmake --preset win32 >/dev/null && cmake --build --preset win32 -j $jobs"
stage "win64 build" bash -c "cmake --preset win64 >/dev/null && cmake --build --preset win64 -j $jobs"
stage "wine tests" ctest --preset win32 -L wine
stage "host-asan build" bash -c "cmake --preset host-asan >/dev/null && cmake --build --preset host-asan -j $jobs"
stage "host-asan tests" ctest --preset host-asan -LE slow
