#!/usr/bin/env bash
# Usage: no_32bit.sh RUNNER BUILD_ARCH
# A 32-bit prefix is a skip with the reason "this machine runs no 32-bit code" exactly where the
# machine cannot run 32-bit code, or with OV_WINE_NO_32BIT=1 anywhere; a 64-bit prefix is not
# affected by the switch.
set -uo pipefail
runner=$1 build_arch=$2
unset OV_WINE_NO_32BIT
source "$(dirname "$runner")/wine-arch.sh"
if ! ov_wine_installed; then
  echo 'wine-run: skipped: Wine is not installed' >&2
  exit 77
fi

fail() {
  echo "no_32bit: $*" >&2
  exit 1
}

# expect_skip REASON RUNNER_ARGS...: the runner must skip (77) and give exactly that reason.
expect_skip() {
  local reason=$1 output rc
  shift
  output=$("$runner" "$@" -- true 2>&1)
  rc=$?
  ((rc == 77)) && [[ $output == *"wine-run: skipped: $reason" ]] ||
    fail "expected a skip ($reason) from $*, got $rc: $output"
}

OV_WINE_NO_32BIT=1 expect_skip 'this machine runs no 32-bit code (OV_WINE_NO_32BIT=1)' --arch win32

# The real condition, judged without the runner: the kernel refuses the 32-bit loader.
if loader_output=$("$(ov_wine_loader win32)" --version 2>&1); then
  output=$("$runner" --arch win32 -- true 2>&1)
  [[ $output != *skipped* ]] || fail "a machine that runs 32-bit code skipped: $output"
elif [[ $loader_output == *"Exec format error"* ]]; then
  expect_skip 'this machine runs no 32-bit code' --arch win32
fi

# The build's own prefix: the switch stops only 32-bit ones.
output=$(OV_WINE_NO_32BIT=1 "$runner" -- true 2>&1)
rc=$?
if [[ $build_arch == win64 ]]; then
  ((rc == 0)) || fail "a 64-bit run with OV_WINE_NO_32BIT=1 failed ($rc): $output"
else
  ((rc == 77)) || fail "a 32-bit run with OV_WINE_NO_32BIT=1 did not skip ($rc): $output"
fi
echo ok
