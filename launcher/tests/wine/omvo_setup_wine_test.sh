#!/usr/bin/env bash
# The real OmvoSetup.exe under Wine (32-bit prefix), with recording stand-ins for netsh, sc and
# the driver removal tool: the command lines in order, their working folders, which tool is
# found and run, the exit code, and no media sharing value. Runs inside scripts/wine-run.sh's
# environment.
#
# Usage: omvo_setup_wine_test.sh OMVOSETUP_EXE RECORDER_EXE
set -uo pipefail

readonly launcher_exe=$1 recorder_exe=$2
: "${OV_DRIVE_C:?run this through scripts/wine-run.sh}"
source "$(dirname "$0")/omvo_setup_wine_lib.sh"

readonly launch_unix=$OV_DRIVE_C/launch
readonly tool_folder='C:\launch\media\tools\x86'

install_command_recorders "$recorder_exe"
# The only correctly named tool lies three folders deep; same-named files of another letter
# case lie above it and beside it, and are recorders too, so running one would show.
mkdir -p "$launch_unix/media/tools/x86" "$launch_unix/docs"
cp "$launcher_exe" "$launch_unix/OmvoSetup.exe"
cp "$recorder_exe" "$launch_unix/setupov.exe"
cp "$recorder_exe" "$launch_unix/media/SETUPOV.EXE"
cp "$recorder_exe" "$launch_unix/media/tools/x86/SetupOv.exe"
echo readme >"$launch_unix/docs/readme.txt"

set_version() {
  wine reg add 'HKCU\Software\Wine\AppDefaults\OmvoSetup.exe' /v Version /t REG_SZ /d "$1" /f \
    >/dev/null 2>&1 || fail "cannot set the Windows version $1"
}

tool_run() { line SetupOv.exe "$tool_folder" "$1"; }

# Wine's default version is Windows 7 (6.1).
run_launcher 'Windows 7' "$(windows7_commands; tool_run '-O 24 -S')"
set_version vista
run_launcher 'Windows Vista' "$(vista_commands; tool_run '-O 24 -S')"
set_version winxp
run_launcher 'Windows XP' "$(xp_commands; tool_run '-O 8 -S')"

# A 32-bit prefix is not WOW64: the media sharing value is left alone.
if wine reg query "$media_key" /v RenderAll >/dev/null 2>&1; then
  fail 'the media sharing value was written on 32-bit Windows'
else
  echo 'ok: no media sharing value on 32-bit Windows'
fi

# Only wrong-case names left, and every command failing: nothing more runs, the exit code stays 0.
rm "$launch_unix/media/tools/x86/SetupOv.exe"
set_version win7
export OV_RECORD_EXIT=1
run_launcher 'Windows 7, only wrong-case tools, failing commands' "$(windows7_commands)"
unset OV_RECORD_EXIT

((failures == 0))
