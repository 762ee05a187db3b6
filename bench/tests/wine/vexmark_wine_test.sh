#!/usr/bin/env bash
# Wine tests of the real vexmark.exe on an X screen, run inside scripts/wine-run.sh (which gives
# the prefix, the debug-output log and, with --display, a 1280x1024x24 Xvfb).
#
# Usage: vexmark_wine_test.sh CASE VEXMARK_EXE CAPTURE_DUMP_EXE POKE_EXE
#   frames    a picture on the screen; -f 30 exits with 30, debug lines in order
#   pixels    a captured frame equals an X grab pixel for pixel; its JPEG decodes within 0.1 dB
#             (PSNR against the grab) of libjpeg-turbo's own encode of the grab
#   depth16   a 16-bit X screen (5-6-5): the run, and the frame against the grab
#   depth8    an 8-bit X screen: the palette path (raw frames, no JPEG)
#   options   -n, -c, -e, -i 200, a second instance, a bad command line
#   reactions WM_DISPLAYCHANGE from another program restarts the run; another program's
#             DirectDraw exclusive mode (what Wine reports is printed)
#   screen    the X screen wine-run made (--screen, odd sizes whose rows GDI pads): the run's
#             frame sizes, and a frame against the grab
set -uo pipefail

case_name=$1
vexmark=$2
dump=$3
poke=$4
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A real picture on the root window, which Wine's screen shows under Xvfb.
show_picture() {
  local size
  size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
  convert wizard: -resize "${size}!" "$work/picture.png"
  display -window root "$work/picture.png"
}

# Runs vexmark with the given arguments; leaves its exit code in $rc and its debug lines (text
# only) in $work/lines.
run_vexmark() {
  local before
  before=$(wc -l <"$OV_DEBUG_LOG")
  wine "$vexmark" "$@"
  rc=$?
  # The monitor writes a line as it arrives; give the last one a moment.
  for _ in $(seq 50); do
    tail -n +"$((before + 1))" "$OV_DEBUG_LOG" | grep -q 'return iVexmark10s\|Another instance' && break
    sleep 0.1
  done
  tail -n +"$((before + 1))" "$OV_DEBUG_LOG" | cut -f2- >"$work/lines"
}

expect_rc() {
  [[ $rc == "$1" ]] || fail "$2: exit code $rc, expected $1"
}

expect_line() {
  grep -qxF -- "$1" "$work/lines" || fail "missing line: $1"
}

count_lines() {
  grep -c -- "$1" "$work/lines"
}

# The given texts must appear in this order (each found after the one before).
expect_order() {
  local last=0 n
  for text in "$@"; do
    n=$(grep -nxF -- "$text" "$work/lines" | cut -d: -f1 | awk -v l="$last" '$1 > l' | head -1)
    if [[ -z $n || $n -le $last ]]; then
      fail "line out of order or missing: $text"
      return
    fi
    last=$n
  done
}

# A private X server of the given depth, for the depth cases.
start_screen() {
  Xvfb -displayfd 3 -screen 0 "1280x1024x$1" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  export DISPLAY=:$(tr -dc 0-9 <"$work/display")
}

dump_frame() {
  wine "$dump" "$(winepath -w "$work")" || fail "capture dump exited with $?"
  import -window root -depth 8 "$work/grab.ppm"
}

case $case_name in
  frames)
    show_picture
    run_vexmark -f 30
    expect_rc 30 "-f 30"
    expect_order "Vexmark program v1.07." "==> vProcessCMDLine" "  	 bTestFreq: 1, 30 times" \
      "<== vProcessCMDLine" "Init Deskop..." "Screen Info: 1280x1024x32bpp." \
      "Allocate screen buffer: 5242880 bytes..." "Allocate encode buffer: 5242880 bytes..." \
      "VexmarkThreadProc: Created." "VexmarkThreadProc: Exit." "Free buffers..." \
      "Delete Encoder..." "Delete Desktop..." "return iVexmark10s: 30."
    [[ $(count_lines '^VexmarkThreadProc: Vexmark([0-9]*): capture screen 5242880 bytes & encode to [1-9]') == 30 ]] ||
      fail "30 frame lines expected"
    grep -q '^VexmarkThreadProc: Total capture 153600 k bytes, compression rate: ' "$work/lines" ||
      fail "report line"
    ;;
  pixels)
    show_picture
    dump_frame
    ae=$(compare -metric AE "$work/capture.ppm" "$work/grab.ppm" null: 2>&1)
    [[ $ae == 0 ]] || fail "captured frame differs from the X grab in $ae pixels"
    cjpeg -quality 80 -sample 2x2 -outfile "$work/turbo.jpg" "$work/grab.ppm"
    ours=$(djpeg -ppm "$work/frame.jpg" | compare -metric PSNR - "$work/grab.ppm" null: 2>&1)
    theirs=$(djpeg -ppm "$work/turbo.jpg" | compare -metric PSNR - "$work/grab.ppm" null: 2>&1)
    echo "PSNR against the grab: vexmark $ours dB, libjpeg-turbo $theirs dB"
    awk -v a="$ours" -v b="$theirs" 'BEGIN { exit !(a >= b - 0.1) }' ||
      fail "JPEG quality $ours dB below libjpeg-turbo's $theirs dB"
    ;;
  depth16)
    start_screen 16
    show_picture
    run_vexmark -f 5
    expect_rc 5 "-f 5 on a 16-bit screen"
    expect_line "Screen Info: 1280x1024x16bpp."
    expect_line "DBG:true-color desktop in SetPixShifts()"
    dump_frame
    # The X grab widens 5-6-5 channels its own way; allow one step of rounding.
    ae=$(compare -metric AE -fuzz 1.5% "$work/capture.ppm" "$work/grab.ppm" null: 2>&1)
    [[ $ae == 0 ]] || fail "16-bit frame differs from the X grab in $ae pixels"
    ;;
  depth8)
    start_screen 8
    show_picture
    run_vexmark -f 3
    expect_rc 3 "-f 3 on an 8-bit screen"
    expect_line "Screen Info: 1280x1024x8bpp."
    expect_line "DBG:palette-based desktop in SetPixShifts()"
    # Palette frames are passed on raw: the "encoded" size is the frame size.
    expect_line "VexmarkThreadProc: Vexmark(0003): capture screen 1310720 bytes & encode to 1310720 bytes."
    ;;
  options)
    show_picture
    run_vexmark -n -f 40
    expect_rc 40 "-n -f 40"
    expect_line "attempting to create multiple DIB section buffers"
    [[ $(count_lines '^FPSEncodeThreadProc: FPSEncode(') == 40 ]] || fail "40 encode lines expected"
    expect_line "FPSEncodeThreadProc: Exit."
    run_vexmark -c -f 5
    expect_rc 5 "-c -f 5"
    expect_line "VexmarkThreadProc: Vexmark(0005): capture screen 5242880 bytes & return to 5242880 bytes."
    expect_line "VexmarkThreadProc: Total capture 25600 k bytes, compression rate: (25600 kB/25600 kB)=1.00"
    run_vexmark -e -f 5
    expect_rc 5 "-e -f 5"
    [[ $(count_lines '^VexmarkThreadProc: Total capture') == 0 ]] || fail "-e printed a report"
    [[ $(count_lines 'capture screen 0 bytes & encode to [1-9]') == 5 ]] || fail "-e frame lines"
    run_vexmark -i 200 -t 2
    # At most one frame per 200 ms (fewer where the machine is slower than that).
    ((rc >= 1 && rc <= 11)) || fail "-i 200 -t 2 gave $rc frames"
    expect_line "DesktopWndProc: got TIMER_FPS_EXIT msg."
    run_vexmark -f 1 -q
    expect_rc 1 "-f 1 -q"
    expect_order '"-f 1 -q" is not a valid arg string.' "Command line usage:" \
      "		 -b type: Run Benchmark type." "<== vProcessCMDLine"
    wine "$vexmark" -t 4 &
    first=$!
    sleep 2
    run_vexmark -f 1
    expect_rc 0 "a second instance"
    expect_line "Another instance is already running!"
    wait $first
    ;;
  reactions)
    show_picture
    # The display change comes once the run has counted a few frames.
    start_line=$(wc -l <"$OV_DEBUG_LOG")
    (
      for _ in $(seq 600); do
        tail -n +"$((start_line + 1))" "$OV_DEBUG_LOG" | grep -q 'Vexmark(0003)' && break
        sleep 0.1
      done
      wine "$poke" displaychange
    ) &
    run_vexmark -t 6
    wait
    expect_line "DesktopWndProc: got WM_DISPLAYCHANGE msg."
    # A timed run can count past 255 frames; the unix exit status keeps only the low 8 bits.
    reported=$(sed -n 's/^return iVexmark10s: \([0-9]*\)\.$/\1/p' "$work/lines" | tail -1)
    expect_order "DesktopWndProc: re-init Desktop & Encoder objects..." "Init Deskop..." \
      "DesktopWndProc: got TIMER_FPS_EXIT msg." "return iVexmark10s: ${reported:-?}."
    ((${reported:-0} > 0)) || fail "no frames after the restart"
    (((${reported:-0} & 255) == rc)) || fail "exit code $rc does not carry the reported count $reported"
    [[ $(count_lines '^VexmarkThreadProc: Vexmark(0001)') == 2 ]] || fail "counting did not restart"
    wine "$poke" exclusive 8000 >"$work/poke.out" &
    sleep 3
    run_vexmark -f 5
    wait
    expect_rc 5 "-f 5 beside an exclusive-mode program"
    echo "other program's SetCooperativeLevel: $(cat "$work/poke.out")"
    echo "exclusive-mode lines seen by vexmark: $(count_lines 'some other app has set exclusive mode')"
    ;;
  screen)
    read -r w h d < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x") }
      /depth of root window:/ { d = $5 } END { print s[1], s[2], d }')
    show_picture
    run_vexmark -f 3
    expect_rc 3 "-f 3 on ${w}x${h}x${d}"
    bpp=$((d == 24 ? 32 : d))
    expect_line "Screen Info: ${w}x${h}x${bpp}bpp."
    # Rows padded to 32 bits, as GDI writes them.
    frame=$(((w * bpp + 31) / 32 * 4 * h))
    [[ $(count_lines "^VexmarkThreadProc: Vexmark(000[1-3]): capture screen $frame bytes") == 3 ]] ||
      fail "3 frames of $frame bytes expected"
    [[ $(count_lines '^CopyToBuffer') == 0 ]] || fail "a capture was refused: $(grep -m1 '^CopyToBuffer' "$work/lines")"
    # On an 8-bit screen the picture program and Wine share one colour map, and which entries
    # each gets differs from run to run (seen: equal once, a third of the pixels apart the next
    # time), so there the padded size and no refused capture are what hold.
    if ((d >= 16)); then
      dump_frame
      # The X grab widens 5-6-5 channels its own way; allow one step of rounding there.
      fuzz=$((d == 16 ? 2 : 0))
      ae=$(compare -metric AE -fuzz "$fuzz%" "$work/capture.ppm" "$work/grab.ppm" null: 2>&1)
      [[ $ae == 0 ]] || fail "${w}x${h}x${d} frame differs from the X grab in $ae pixels"
    fi
    ;;
  *)
    echo "unknown case $case_name"
    exit 2
    ;;
esac

((failures == 0)) || exit 1
echo "vexmark $case_name: passed"
