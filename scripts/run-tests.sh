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
stage "distribution check" bash scripts/check-dist.sh
stage "win32 tests (Wine)" ctest --preset win32
stage "win64 tests" ctest --test-dir build/win64 --output-on-failure -LE wine
stage "host-asan build" bash -c "cmake --preset host-asan >/dev/null && cmake --build --preset host-asan -j $jobs"
stage "host-asan tests" ctest --preset host-asan -LE slow
stage "host-tsan build" bash -c "cmake --preset host-tsan >/dev/null && cmake --build --preset host-tsan -j $jobs"
stage "host-tsan tests" ctest --preset host-tsan -LE slow
