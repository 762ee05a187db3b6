#!/usr/bin/env bash
# The real OmvoSetup.exe as a 32-bit program on 64-bit Windows (WOW64): a 64-bit prefix of its
# own, made next to the runner's 32-bit one so the runner's clean-up removes it. The 64-bit tool
# is chosen, and the media sharing value lands in the 64-bit registry view, not in Wow6432Node.
#
# Usage: omvo_setup_wow64_wine_test.sh OMVOSETUP_EXE RECORDER_EXE
set -uo pipefail

readonly launcher_exe=$1 recorder_exe=$2
: "${WINEPREFIX:?run this through scripts/wine-run.sh}"

export WINEARCH=win64 WINEPREFIX=$(dirname "$WINEPREFIX")/prefix64
export OV_DRIVE_C=$WINEPREFIX/drive_c
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null' EXIT
# The registry files appear once the prefix's server has ended. A 64-bit prefix made beforehand
# by the same Wine is copied where there is one (making one takes minutes in the emulated guest).
# A seed that cannot be copied is a failure, not a machine without 64-bit Wine.
if [[ -n ${OV_WINE_PREFIX_SEED_win64:-} ]]; then
  cp -a "$OV_WINE_PREFIX_SEED_win64" "$WINEPREFIX" && grep -q '^#arch=win64' "$WINEPREFIX/system.reg" ||
    { echo "FAIL: the 64-bit prefix $OV_WINE_PREFIX_SEED_win64 could not be copied" >&2; exit 1; }
elif ! { wineboot -i && wineserver -w; } >/dev/null 2>&1 ||
  ! grep -q '^#arch=win64' "$WINEPREFIX/system.reg"; then
  echo 'skipped: no 64-bit Wine prefix on this machine' >&2
  exit 77
fi
wineserver -p
source "$(dirname "$0")/omvo_setup_wine_lib.sh"

readonly launch_unix=$OV_DRIVE_C/launch
install_command_recorders "$recorder_exe"
# Both builds of the tool, each in a folder of its own.
mkdir -p "$launch_unix/x86" "$launch_unix/x64"
cp "$launcher_exe" "$launch_unix/OmvoSetup.exe"
cp "$recorder_exe" "$launch_unix/x86/SetupOv.exe"
cp "$recorder_exe" "$launch_unix/x64/SetupOv64.exe"

run_launcher 'Windows 7, WOW64' "$(windows7_commands; line SetupOv64.exe 'C:\launch\x64' '-O 24 -S')"

value=$(wine reg query "$media_key" /v RenderAll /reg:64 2>/dev/null | tr -d '\r')
if grep -Eq '^ +RenderAll +REG_DWORD +0x1$' <<<"$value"; then
  echo 'ok: RenderAll = 1 in the 64-bit view'
else
  fail "RenderAll not set in the 64-bit view: $value"
fi
if wine reg query "$media_key" /reg:32 >/dev/null 2>&1; then
  fail 'the media sharing key was written to the 32-bit view'
else
  echo 'ok: nothing in the 32-bit view'
fi

((failures == 0))
