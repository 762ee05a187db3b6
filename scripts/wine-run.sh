#!/usr/bin/env bash
# Runs one test command under Wine in an environment of its own.
#
# Usage: wine-run.sh [--timeout S] [--display] [--sound] -- COMMAND...
#
#   COMMAND   A first word ending in .exe is started with wine. A single word otherwise is a shell
#             command line (bash -c), so a test script can say `wine x.exe && grep ... "$OV_DEBUG_LOG"`.
#             Several words otherwise are a program and its arguments, started as they are.
#             Standard input is /dev/null.
#   --timeout S   Kills the command and every process of the prefix after S seconds (default 120)
#                 and exits 124.
#   --display     A private Xvfb (1280x1024x24, GLX) for this run, in DISPLAY. Without it Wine's
#                 graphics driver is "null": hidden windows and messages work, nothing is shown.
#   --sound       An ALSA null device (ALSA_CONFIG_PATH), so DirectSound and Core Audio see one
#                 render device.
#
# Exit code: the command's, 124 on time-out, 77 when Wine or a 32-bit prefix is not available
# (CTest reports that as skipped), 2 on a usage or set-up error.
#
# Environment given to the command:
#   WINEPREFIX, WINEARCH=win32   a private prefix, copied from a template made once per build dir
#   WINEDEBUG=-all               (OV_WINEDEBUG overrides it, for debugging)
#   WINEDLLOVERRIDES             winedbg.exe=d, then whatever the caller had set: a crash ends the
#                                program with exit code 1 instead of hanging in the debugger
#   OV_DRIVE_C                   the unix path of drive C: of the prefix
#   OV_DEBUG_LOG                 the debug-output log (unix path); OV_DEBUG_LOG_WIN: the same as a
#                                Windows path for programs inside the prefix
#   DISPLAY                      only with --display
#
# Debug-output log: our monitor ($OV_DBMON, dbmon.exe) runs in the prefix before the command
# starts and records every OutputDebugStringA/W line of every process in the prefix, one line
# "<pid>\t<text>\n" each, in UTF-8, written as the line arrives. <pid> is the Windows process id
# in decimal. <text> is the string without one trailing "\n" (or "\r\n"); a string with more line
# feeds gives one log line per line, each with the pid. Wide strings reach the monitor already
# converted to the ANSI code page by OutputDebugStringW, so characters outside it read as "?".
# Every line whose OutputDebugString call returned before the command ended is in the log. When
# the command fails, the log is printed at the end.
#
# Inputs: OV_DBMON (required: dbmon.exe), OV_BUILD_DIR (where the template prefix is kept; default
# a folder under TMPDIR), OV_KEEP_PREFIX=1 (keep the run's folder and say where it is).
set -uo pipefail

readonly self=wine-run
timeout_s=120
want_display=0
want_sound=0

usage() {
  echo "usage: $0 [--timeout S] [--display] [--sound] -- COMMAND..." >&2
  exit 2
}

while (($#)); do
  case $1 in
    --timeout)
      [[ ${2:-} =~ ^[0-9]+$ ]] || usage
      timeout_s=$2
      shift 2
      ;;
    --display) want_display=1; shift ;;
    --sound) want_sound=1; shift ;;
    --) shift; break ;;
    *) usage ;;
  esac
done
(($#)) || usage

skip() {
  echo "$self: skipped: $*" >&2
  exit 77
}

fail() {
  echo "$self: $*" >&2
  exit 2
}

for tool in wine wineserver wineboot timeout flock; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
((want_display == 0)) || command -v Xvfb >/dev/null || skip "Xvfb is not installed"
[[ -n ${OV_DBMON:-} && -f ${OV_DBMON} ]] || fail "OV_DBMON does not name the built dbmon.exe"

# Wine's view of a unix path: drive Z: is the unix root.
windows_path() {
  local path=${1//\//\\}
  printf 'Z:%s' "$path"
}

# True while process $1 runs (an exited child stays a zombie until waited for).
alive() {
  local state
  read -r _ _ state _ 2>/dev/null <"/proc/$1/stat" && [[ $state != Z ]]
}

# Polls until a file has content (or, with "exists", is there at all), for up to $3 seconds,
# while process $4 lives.
wait_for_file() {
  local file=$1 mode=$2 limit=$3 pid=$4 start=$SECONDS
  while :; do
    if [[ $mode == exists && -e $file ]] || [[ $mode == content && -s $file ]]; then
      return 0
    fi
    alive "$pid" || return 1
    ((SECONDS - start < limit)) || return 1
    sleep 0.01
  done
}

export WINEARCH=win32
export WINEDEBUG=${OV_WINEDEBUG:--all}
export WINEDLLOVERRIDES="winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset DISPLAY

# The template: one fresh 32-bit prefix per build dir, made by whichever run comes first.
template_root=${OV_BUILD_DIR:-${TMPDIR:-/tmp}/ov-wine-$(id -u)}
template=$template_root/wine-template

wine_version=$(wine --version 2>/dev/null) || skip "wine does not start"

# The stamp names the Wine that made the template: another Wine would update every copy on its
# first start, slowly, so a new template is made instead.
template_is_current() {
  [[ $(cat "$template/.ov-complete" 2>/dev/null) == "$wine_version" ]]
}

make_template() {
  local staging=$template.new
  rm -rf "$staging" "$template"
  WINEPREFIX=$staging wineboot -i >"$template_root/wine-template.log" 2>&1 &&
    WINEPREFIX=$staging wineserver -w &&
    grep -q '^#arch=win32' "$staging/system.reg" &&
    echo "$wine_version" >"$staging/.ov-complete" &&
    mv "$staging" "$template"
}

ensure_template() {
  mkdir -p "$template_root" || fail "cannot create $template_root"
  local ok=0
  {
    flock 8
    template_is_current || make_template
    template_is_current && ok=1
  } 8>"$template_root/wine-template.lock"
  ((ok)) || skip "cannot create a 32-bit Wine prefix (see $template_root/wine-template.log)"
}

# A run that was killed outright leaves its folder (a whole prefix) behind; its runner.pid
# names a process that is gone.
remove_stale_runs() {
  local dir pid
  for dir in "${TMPDIR:-/tmp}"/ov-wine.*/; do
    [[ -f $dir/runner.pid ]] && read -r pid <"$dir/runner.pid" || continue
    [[ -d /proc/$pid ]] || rm -rf "$dir"
  done
}

ensure_template
remove_stale_runs

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/ov-wine.XXXXXX") || fail "cannot create a run folder"
echo $$ >"$run_dir/runner.pid"
export WINEPREFIX=$run_dir/prefix
export OV_DRIVE_C=$WINEPREFIX/drive_c
export OV_DEBUG_LOG=$run_dir/debug.log
export OV_DEBUG_LOG_WIN
OV_DEBUG_LOG_WIN=$(windows_path "$OV_DEBUG_LOG")
xvfb_pid=
dbmon_pid=
command_pid=
server_started=0

cleanup() {
  trap - EXIT INT TERM
  [[ -n $command_pid ]] && kill -TERM "$command_pid" 2>/dev/null
  if ((server_started)); then
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if [[ ${OV_KEEP_PREFIX:-0} == 1 ]]; then
    rm -f "$run_dir/runner.pid"
    echo "$self: kept $run_dir" >&2
  else
    rm -rf "$run_dir"
  fi
}
trap cleanup EXIT
trap 'exit 143' INT TERM

cp -a "$template" "$WINEPREFIX" || fail "cannot copy the template prefix"
touch "$OV_DEBUG_LOG"

if ((want_display)); then
  # Xvfb picks a free display number itself and reports it: safe under parallel runs.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX -nolisten tcp \
    3>"$run_dir/display" >"$run_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for_file "$run_dir/display" content 30 "$xvfb_pid" || fail "Xvfb did not start: $(cat "$run_dir/xvfb.log")"
  export DISPLAY=:$(tr -dc 0-9 <"$run_dir/display")
else
  # Registry written before the prefix's server starts: hidden windows work without a display.
  printf '\n[Software\\\\Wine\\\\Drivers]\n"Graphics"="null"\n' >>"$WINEPREFIX/user.reg"
fi

if ((want_sound)); then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$run_dir/alsa.conf"
  export ALSA_CONFIG_PATH=$run_dir/alsa.conf
fi

# Persistent while the monitor runs; should this script be killed, the monitor sees its input
# end, and the server follows it shortly after instead of staying forever.
wineserver -p10 || fail "cannot start wineserver"
server_started=1

mkfifo "$run_dir/dbmon.in" || fail "cannot create the monitor's pipe"
wine "$OV_DBMON" "$OV_DEBUG_LOG_WIN" "$(windows_path "$run_dir/dbmon.ready")" \
  <"$run_dir/dbmon.in" >"$run_dir/dbmon.out" 2>&1 &
dbmon_pid=$!
exec 9>"$run_dir/dbmon.in"
wait_for_file "$run_dir/dbmon.ready" exists 60 "$dbmon_pid" ||
  fail "the debug-output monitor did not start: $(cat "$run_dir/dbmon.out")"

if [[ ${1,,} == *.exe ]]; then
  command=(wine "$@")
elif (($# == 1)); then
  command=(bash -c "$1")
else
  command=("$@")
fi
# The command must not hold the monitor's pipe open, or the monitor would never see its end.
timeout -k 5 "$timeout_s" "${command[@]}" </dev/null 9>&- &
command_pid=$!
wait "$command_pid"
rc=$?
command_pid=

if ((rc == 124)); then
  echo "$self: timed out after $timeout_s s: $*" >&2
else
  # End of input tells the monitor to stop once every written line is recorded.
  exec 9>&-
  start=$SECONDS
  while alive "$dbmon_pid" && ((SECONDS - start < 10)); do
    sleep 0.01
  done
fi

if ((rc != 0)); then
  echo "$self: exit code $rc; debug output:"
  cat "$OV_DEBUG_LOG"
fi
exit "$rc"
