#!/usr/bin/env bash
# Runs one test command under Wine in an environment of its own.
#
# Usage: wine-run.sh [--arch win32|win64] [--timeout S] [--display] [--screen WxHxD] [--sound]
#                    [--sound-device NAME]... -- COMMAND...
#
#   COMMAND   A first word ending in .exe is started with wine. A single word otherwise is a shell
#             command line (bash -c), so a test script can say `wine x.exe && grep ... "$OV_DEBUG_LOG"`.
#             Several words otherwise are a program and its arguments, started as they are.
#             Standard input is /dev/null.
#   --arch A      The prefix: win32 (the 32-bit loader) or win64 (the wine64 loader, WINEARCH=win64).
#                 Default: the architecture of $OV_DBMON, so a test follows the build it comes from.
#   --timeout S   Kills the command and every process of the prefix after S seconds (default 120)
#                 and exits 124. OV_WINE_TIME_SCALE (a whole number, default 1) multiplies this
#                 and the runner's own waits, for machines where every program starts slower.
#   --screen WxHxD  (implies --display) The private Xvfb's screen instead of 1280x1024x24; GLX only
#                 at depths of 16 bits and more. Wine keeps the screen its prefix started on, so a
#                 test of another screen size needs a run of its own.
#   --display     A private Xvfb (1280x1024x24, GLX) for this run, in DISPLAY. Without it Wine's
#                 graphics driver is "null": hidden windows and messages work, nothing is shown.
#   --sound       An ALSA null device (ALSA_CONFIG_PATH), so DirectSound and Core Audio see one
#                 render device.
#   --sound-device NAME   (repeatable; implies --sound) An output that records: ALSA device NAME
#                 writes what it is given to $OV_SOUND_DIR/NAME.raw (NAME: letters, digits, _ -).
#                 Wine lists it as "Out: NAME" (DirectSoundEnumerate's description, the endpoint's
#                 friendly name). Without --sound there is no ALSA "default" device, and the first
#                 NAME is the default output (with --sound, "Out: default" is). Found under Wine 8:
#                 - The file holds raw interleaved stereo 16-bit little-endian samples at 48000 Hz.
#                   The device accepts only that sample format (Wine would pick 32-bit float
#                   otherwise); the rate cannot be pinned with ALSA's own plugins, and Wine mixes
#                   at 48000 Hz whenever a device allows it.
#                 - A 16-bit 48000 Hz DirectSound buffer played at full volume arrives bit for bit;
#                   a 44100 Hz one is resampled by Wine's mixer and does not.
#                 - Before and after the samples there is silence (zeros).
#                 - Not real-time: the device takes data at once and Wine's mixer runs ahead
#                   (0.8 s of sound written in 0.3 s was seen). Debian's ALSA plugins offer no
#                   paced null device; a sound server would be needed for that.
#                 - A device name cannot be chosen as the default through the registry value
#                   DefaultOutput: a test picks an output by its description.
#
# Exit code: the command's, 124 on time-out, 77 when the prefix cannot exist on this machine (no
# Wine; a 32-bit prefix where the machine runs no 32-bit code): CTest reports that as skipped, and
# the runner prints "wine-run: skipped: REASON". 2 on a usage or set-up error.
# OV_WINE_NO_32BIT=1 makes a machine that runs 32-bit code act as one that does not.
#
# Environment given to the command:
#   WINEPREFIX, WINEARCH         a private prefix, copied from a template made once per build dir
#                                and architecture (from the prefix OV_WINE_PREFIX_SEED_<arch> names,
#                                made beforehand by the same Wine, where that is set)
#   PATH                         win64: `wine`, `wine64`, `wineboot`, `winepath` first on it start
#                                the 64-bit loader (Debian's `wine` would pick the 32-bit one)
#   WINEDEBUG=-all               (OV_WINEDEBUG overrides it, for debugging)
#   WINEDLLOVERRIDES             winedbg.exe=d, then whatever the caller had set: a crash ends the
#                                program with exit code 1 instead of hanging in the debugger
#   OV_DRIVE_C                   the unix path of drive C: of the prefix
#   OV_DEBUG_LOG                 the debug-output log (unix path); OV_DEBUG_LOG_WIN: the same as a
#                                Windows path for programs inside the prefix
#   DISPLAY, OV_SCREEN           only with --display: the Xvfb, and its screen as WxHxD
#   OV_SOUND_DIR                 only with --sound-device: the folder of the NAME.raw files
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
# Inputs: OV_DBMON (required: dbmon.exe, of the same architecture as the prefix), OV_BUILD_DIR (where the template prefix is kept; default
# a folder under TMPDIR), OV_KEEP_PREFIX=1 (keep the run's folder and say where it is).
set -uo pipefail

readonly self=wine-run
timeout_s=120
want_display=0
screen=1280x1024x24
want_sound=0
sound_devices=()

usage() {
  echo "usage: $0 [--arch win32|win64] [--timeout S] [--display] [--screen WxHxD] [--sound]" \
    "[--sound-device NAME]... -- COMMAND..." >&2
  exit 2
}

arch=
while (($#)); do
  case $1 in
    --arch)
      [[ ${2:-} == win32 || ${2:-} == win64 ]] || usage
      arch=$2
      shift 2
      ;;
    --timeout)
      [[ ${2:-} =~ ^[0-9]+$ ]] || usage
      timeout_s=$2
      shift 2
      ;;
    --display) want_display=1; shift ;;
    --screen)
      [[ ${2:-} =~ ^[0-9]+x[0-9]+x[0-9]+$ ]] || usage
      screen=$2 want_display=1
      shift 2
      ;;
    --sound) want_sound=1; shift ;;
    --sound-device)
      [[ ${2:-} =~ ^[A-Za-z0-9_-]+$ ]] || usage
      sound_devices+=("$2")
      shift 2
      ;;
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

source "${BASH_SOURCE[0]%/*}/wine-arch.sh"

ov_wine_installed || skip 'Wine is not installed'
for tool in wine wineserver wineboot timeout flock od; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
((want_display == 0)) || command -v Xvfb >/dev/null || skip "Xvfb is not installed"
[[ -n ${OV_DBMON:-} && -f ${OV_DBMON} ]] || fail "OV_DBMON does not name the built dbmon.exe"

# The machine field of a PE file's header: win32 for i386, win64 for x86-64.
pe_arch() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null) || return 1
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null) || return 1
  case ${machine// /} in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) return 1 ;;
  esac
}

if [[ -z $arch ]]; then
  arch=$(pe_arch "$OV_DBMON") || fail "$OV_DBMON is not a 32-bit or 64-bit x86 Windows program"
fi
# Where every program starts slower (the emulated guest), every limit stretches alike.
time_scale=${OV_WINE_TIME_SCALE:-1}
[[ $time_scale =~ ^[1-9][0-9]*$ ]] || fail "OV_WINE_TIME_SCALE must be a whole number from 1"
timeout_s=$((timeout_s * time_scale))

if reason=$(ov_wine_arch_unavailable "$arch"); then
  skip "$reason"
fi
loader=$(ov_wine_loader "$arch")

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

export WINEARCH=$arch
export WINEDEBUG=${OV_WINEDEBUG:--all}
export WINEDLLOVERRIDES="winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset DISPLAY

# The template: one fresh prefix per build dir and architecture, made by whichever run comes first.
template_root=${OV_BUILD_DIR:-${TMPDIR:-/tmp}/ov-wine-$(id -u)}
template=$template_root/wine-template-$arch

# Programs and scripts say `wine`, `wineboot`...: in a 64-bit run these must start the 64-bit
# loader, which also starts the programs Wine itself spawns.
tools_dir=$template_root/wine-tools-$arch
if [[ $arch == win64 ]]; then
  export WINELOADER=$loader
  export PATH=$tools_dir:$PATH
fi

make_tools() {
  [[ $arch == win64 && ! -d $tools_dir ]] || return 0
  local staging=$tools_dir.new tool
  rm -rf "$staging"
  mkdir "$staging" || return 1
  for tool in wine wine64; do
    printf '#!/bin/sh\nexec %q "$@"\n' "$loader" >"$staging/$tool"
  done
  for tool in wineboot winepath winecfg wineconsole winedbg; do
    printf '#!/bin/sh\nexec %q %s.exe "$@"\n' "$loader" "$tool" >"$staging/$tool"
  done
  chmod +x "$staging"/* && mv "$staging" "$tools_dir"
}

wine_version=$("$loader" --version 2>/dev/null) || fail "$loader does not start"

# The stamp names the Wine that made the template: another Wine would update every copy on its
# first start, slowly, so a new template is made instead.
template_is_current() {
  [[ $(cat "$template/.ov-complete" 2>/dev/null) == "$wine_version" ]]
}

# A prefix made beforehand by the same Wine (the emulated 32-bit guest has one: making a prefix
# there takes minutes) serves as the template; otherwise one is made. The template is only ever
# copied from, so on the seed's own file system it is made of links to the seed's files.
make_template() {
  local staging=$template.new seed_var=OV_WINE_PREFIX_SEED_$arch
  rm -rf "$staging" "$template"
  if [[ -n ${!seed_var:-} ]]; then
    { cp -al "${!seed_var}" "$staging" 2>/dev/null || { rm -rf "$staging" && cp -a "${!seed_var}" "$staging"; }; } &&
      grep -q "^#arch=$arch" "$staging/system.reg" &&
      echo "$wine_version" >"$staging/.ov-complete" && mv "$staging" "$template"
    return
  fi
  WINEPREFIX=$staging wineboot -i >"$template.log" 2>&1 &&
    WINEPREFIX=$staging wineserver -w &&
    grep -q "^#arch=$arch" "$staging/system.reg" &&
    echo "$wine_version" >"$staging/.ov-complete" &&
    mv "$staging" "$template"
}

ensure_template() {
  mkdir -p "$template_root" || fail "cannot create $template_root"
  local ok=0
  {
    flock 8
    make_tools || fail "cannot create $tools_dir"
    template_is_current || make_template
    template_is_current && ok=1
  } 8>"$template.lock"
  ((ok)) || fail "cannot create a $arch Wine prefix (see $template.log)"
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
  glx=(+extension GLX)
  ((${screen##*x} >= 16)) || glx=()
  Xvfb -displayfd 3 -screen 0 "$screen" "${glx[@]}" -nolisten tcp \
    3>"$run_dir/display" >"$run_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for_file "$run_dir/display" content $((30 * time_scale)) "$xvfb_pid" || fail "Xvfb did not start: $(cat "$run_dir/xvfb.log")"
  export DISPLAY=:$(tr -dc 0-9 <"$run_dir/display") OV_SCREEN=$screen
else
  # Registry written before the prefix's server starts: hidden windows work without a display.
  printf '\n[Software\\\\Wine\\\\Drivers]\n"Graphics"="null"\n' >>"$WINEPREFIX/user.reg"
fi

# A REG_MULTI_SZ in the registry file's hex(7) form: UTF-16LE strings, each ended by a zero,
# and a zero after the last. The names are ASCII.
multi_sz_hex() {
  local name i bytes=()
  for name in "$@"; do
    for ((i = 0; i < ${#name}; i++)); do
      bytes+=("$(printf '%02x' "'${name:i:1}")" 00)
    done
    bytes+=(00 00)
  done
  bytes+=(00 00)
  local IFS=,
  printf 'hex(7):%s' "${bytes[*]}"
}

if ((${#sound_devices[@]})); then
  export OV_SOUND_DIR=$run_dir/sound
  mkdir "$OV_SOUND_DIR" || fail "cannot create $OV_SOUND_DIR"
  for name in "${sound_devices[@]}"; do
    # The linear plugin takes only integer formats, so Wine mixes into 16-bit, not float.
    printf 'pcm.%s { type file file "%s/%s.raw" format "raw"\n' "$name" "$OV_SOUND_DIR" "$name"
    printf '  slave.pcm { type linear slave { pcm { type null } format S16_LE } } }\n'
  done >"$run_dir/alsa.conf"
  printf '\n[Software\\\\Wine\\\\Drivers\\\\winealsa.drv]\n"ALSAOutputDevices"=%s\n' \
    "$(multi_sz_hex "${sound_devices[@]}")" >>"$WINEPREFIX/user.reg"
fi
if ((want_sound)); then
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >>"$run_dir/alsa.conf"
fi
if [[ -e $run_dir/alsa.conf ]]; then
  export ALSA_CONFIG_PATH=$run_dir/alsa.conf
fi

# Persistent while the monitor runs; should this script be killed, the monitor sees its input
# end, and the server follows it shortly after instead of staying forever.
wineserver -p10 || fail "cannot start wineserver"
server_started=1

mkfifo "$run_dir/dbmon.in" || fail "cannot create the monitor's pipe"
start_monitor() {
  wine "$OV_DBMON" "$OV_DEBUG_LOG_WIN" "$(windows_path "$run_dir/dbmon.ready")" \
    <"$run_dir/dbmon.in" >"$run_dir/dbmon.out" 2>&1 &
  dbmon_pid=$!
  exec 9>"$run_dir/dbmon.in"
  wait_for_file "$run_dir/dbmon.ready" exists $((60 * time_scale)) "$dbmon_pid"
}
# On a loaded machine Wine's loader has been seen to end at once, without a word, before the
# monitor ran; a second start went through. A monitor that hangs is not started again.
if ! start_monitor && ! alive "$dbmon_pid"; then
  wait "$dbmon_pid"
  echo "$self: the debug-output monitor ended at start (exit code $?: $(cat "$run_dir/dbmon.out"));" \
    "starting it again" >&2
  exec 9>&-
  start_monitor
fi
[[ -e $run_dir/dbmon.ready ]] ||
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
