# Shared by the Wine checks of SetupOv.exe; sourced with the four tool paths as arguments:
# SetupOv.exe, box_watch.exe, fake_device.exe, the stand-in Difxapi.dll.
set -u
SETUPOV=$1
BOX_WATCH=$2
FAKE_DEVICE=$3
FAKE_DIFXAPI=$4
WINDIR_UNIX="$OV_DRIVE_C/windows"
INF_DIR="$WINDIR_UNIX/inf"
TOOL_DIR="$OV_DRIVE_C/tool"
FAILURES=0

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

finish() {
  if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# SetupOv.exe in its own program folder C:\tool, as an installation has it.
install_tool() {
  mkdir -p "$TOOL_DIR"
  cp "$SETUPOV" "$TOOL_DIR/SetupOv.exe"
}

# Runs C:\tool\SetupOv.exe with the arguments under box_watch; prints box_watch's report.
run_tool() {
  wine "$BOX_WATCH" --timeout 30000 -- 'C:\tool\SetupOv.exe' "$@" 2>&1 | tr -d '\r'
}

# expect_line <report> <line>: the report holds exactly this line.
expect_line() {
  if ! printf '%s\n' "$1" | grep -qxF -- "$2"; then
    fail "expected line [$2] in report:"
    printf '%s\n' "$1" | sed 's/^/    /'
  fi
}

# expect_box <report> <text>: a box with the caption "OvUinst" and this text (line feeds as
# \n). Wine does not make message boxes topmost, so that flag is not compared here.
expect_box() {
  if ! printf '%s\n' "$1" | sed 's/ topmost=[01]//' | grep -qxF -- "box caption=OvUinst text=$2"; then
    fail "expected an OvUinst box with text [$2] in report:"
    printf '%s\n' "$1" | sed 's/^/    /'
  fi
}

expect_no_box() {
  if printf '%s\n' "$1" | grep -q '^box '; then
    fail "expected no message box in report:"
    printf '%s\n' "$1" | sed 's/^/    /'
  fi
}

expect_file() { [ -e "$1" ] || fail "expected file $1 to exist"; }
expect_no_file() { [ ! -e "$1" ] && return 0; fail "expected file $1 to be gone"; }

# The Windows version the prefix reports to SetupOv.exe: winxp, vista, win7, nt40, ...
set_version() {
  wine reg add 'HKCU\Software\Wine\AppDefaults\SetupOv.exe' /v Version /d "$1" /f >/dev/null 2>&1
}

key_exists() { wine reg query "$1" >/dev/null 2>&1; }
