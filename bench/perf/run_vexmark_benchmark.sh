#!/usr/bin/env bash
# vexmark under Wine on an Xvfb screen showing a real picture, at 1280x1024 and 1920x1080, one
# thread and two threads, beside a peer measured in the same run on the same screen: ffmpeg's X11
# grab with its MJPEG encoder at a quality that gives about the same bytes per frame. Then the
# encode stage alone: vexmark -e against ffmpeg's MJPEG encoder on the same frame read from a
# file. Then the GPU encoder (-g, and the GPU benchmark types -b 0 and -b 1) on Direct3D 10, which
# Wine runs on Mesa's llvmpipe, a software rasteriser on the CPU: its rates are the CPU's, not a
# graphics card's. The GPU runs load the test stand-in shader compiler beside the program (Wine's
# own aborts). Ends with one table. Run from the main job; needs the Windows builds.
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-arch.sh

seconds=${VEXMARK_BENCH_SECONDS:-5}
sizes=${VEXMARK_BENCH_SIZES:-1280x1024 1920x1080}
if ! ov_wine_arch_unavailable win32 >/dev/null; then
  arch=win32 exe=dist/win32/vexmark.exe
elif ! reason=$(ov_wine_arch_unavailable win64); then
  arch=win64 exe=build/win64/unshipped/vexmark.exe
else
  echo "vexmark benchmark: skipped ($reason)"
  exit 0
fi
for tool in Xvfb ffmpeg convert display; do
  command -v $tool >/dev/null || { echo "vexmark benchmark: skipped ($tool is missing)"; exit 0; }
done
[[ -f $exe ]] || { echo "vexmark benchmark: skipped ($exe is not built)"; exit 0; }
stand_in=build/$arch/bench/gpu/tests/d3dx10_40.dll
shader=build/$arch/bench/gpu/tests/Dezezo.psh

loader=$(ov_wine_loader $arch)
work=$(mktemp -d)
xvfb_pid=
picture_pid=
cleanup() {
  [[ -n $picture_pid ]] && kill "$picture_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export WINEARCH=$arch WINEDEBUG=-all,+debugstr WINEDLLOVERRIDES=winedbg.exe=d
echo "vexmark benchmark: $exe in a $arch Wine prefix, $seconds s per timed run"

start_screen() {
  [[ -n $picture_pid ]] && kill "$picture_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -f "$work/display"
  # -noreset: the picture stays when its client leaves.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset +extension GLX 3>"$work/display" \
    >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  export DISPLAY=:$(tr -dc 0-9 <"$work/display")
  convert wizard: -resize "${1}!" "$work/picture.png"
  # A window of its own over the whole screen: Wine may paint the root window.
  display -geometry +0+0 -borderwidth 0 "$work/picture.png" &
  picture_pid=$!
  sleep 2
}

# The frame count of the run logged in $work/run.log, in $frames (from its last line: an exit
# code is cut to 8 bits on the way to the shell).
read_frames() {
  frames=$(sed -n 's/^return iVexmark10s: \([0-9]*\)\.$/\1/p' "$work/run.log")
  frames=${frames:-0}
}
# Runs vexmark in its own folder (the GPU encoder reads "Dezezo.psh" from there): its debug lines
# in $work/run.log, its frame count in $frames.
vexmark() {
  (cd "$(dirname "$exe")" && "$loader" "./$(basename "$exe")" "$@") 2>&1 |
    sed -n 's/.*OutputDebugStringA "\(.*\)\\n"$/\1/p' >"$work/run.log"
  read_frames
}

total_ms() { sed -n 's/.*Proc: Total time: \([0-9]*\) ms.*/\1/p' "$work/run.log" | tail -1; }
# Frames per second of the last run, by its own clock (the performance counter, over the whole
# run); says what it measured. The first argument: frames to leave out (the two-thread run's ring,
# filled before its clock starts).
run_fps() {
  local ms counted=$((frames - ${1:-0}))
  ((counted > 0)) || counted=0
  ms=$(total_ms)
  echo "     $counted frames in ${ms:-0} ms" >&2
  awk -v f="$counted" -v ms="${ms:-0}" 'BEGIN { printf "%.1f", (ms > 0 ? f * 1000 / ms : 0) }'
}
# Milliseconds a frame, over a whole -c or -e run of the performance counter: exact where the
# whole-millisecond laps of -m would round every frame down.
run_ms_per_frame() {
  local ms
  ms=$(total_ms)
  awk -v f="$frames" -v ms="${ms:-0}" 'BEGIN { printf "%.2f", (f > 0 ? ms / f : 0) }'
}
# The machine is shared: every figure is the best of three runs.
best_of_3() {
  local best=0 value
  for _ in 1 2 3; do
    value=$("$@")
    best=$(awk -v a="$best" -v b="$value" 'BEGIN { print (b > a ? b : a) }')
  done
  echo "$best"
}
# The ring's frames are captured before the encode thread's clock starts; their encodes are not.
ring_frames=31
one_thread() { vexmark -t "$seconds"; run_fps; }
two_threads() { vexmark -n -t "$seconds"; run_fps $ring_frames; }
encode_only() { vexmark -e -f 100; run_fps; }
# Milliseconds a frame: capture alone (-c) and encode alone (-e), the least of three runs.
least_of_3() {
  local least=-1 value
  for _ in 1 2 3; do
    value=$("$@")
    least=$(awk -v a="$least" -v b="$value" 'BEGIN { print (a < 0 || b < a ? b : a) }')
  done
  echo "$least"
}
capture_ms() { vexmark -c -f 100; run_ms_per_frame; }
encode_ms() { vexmark -e -f 100; run_ms_per_frame; }
gpu_encoder() { vexmark -g -t "$seconds"; run_fps; }
# The GPU benchmark's result is its exit code: frames a second, an integer.
gpu_benchmark() {
  vexmark -b "$1"
  sed -n 's/^GPU Benchmark FPS = \([0-9]*\)$/\1/p' "$work/run.log" | tail -1 | grep . || echo 0
}
gpu_dct() { gpu_benchmark 0; }
gpu_dct_vle() { gpu_benchmark 1; }

# ffmpeg's rows: its own clock (-benchmark's rtime, from the start of its processing, not of its
# process) and one encoding thread, as vexmark's encoder has.
peer_pipeline() {
  local out count seconds_used
  out=$(ffmpeg -benchmark -nostats -loglevel info -f x11grab -framerate 1000 -video_size "$size" \
    -i "$DISPLAY" -t "$seconds" -threads 1 -pix_fmt yuvj420p -c:v mjpeg -q:v "$best_q" -f null - 2>&1)
  count=$(sed -n 's/.*frame= *\([0-9]*\).*/\1/p' <<<"$out" | tail -1)
  seconds_used=$(sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p' <<<"$out")
  echo "     ${count:-0} frames in ${seconds_used:-0} s" >&2
  awk -v f="${count:-0}" -v t="${seconds_used:-0}" 'BEGIN { printf "%.1f", (t > 0 ? f / t : 0) }'
}
peer_encode_only() {
  local seconds_used
  seconds_used=$(ffmpeg -benchmark -nostats -f rawvideo -pix_fmt bgr0 -video_size "$size" \
    -stream_loop -1 -i "$work/frame.raw" -frames:v 100 -threads 1 -pix_fmt yuvj420p -c:v mjpeg \
    -q:v "$best_q" -f null - 2>&1 | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p')
  echo "     100 frames in ${seconds_used:-0} s" >&2
  awk -v t="${seconds_used:-0}" 'BEGIN { printf "%.1f", (t > 0 ? 100 / t : 0) }'
}

rows=()
ratios=()
for size in $sizes; do
  w=${size%x*} h=${size#*x}
  echo "== $size: X screen with a picture, a fresh Wine prefix"
  start_screen "$size"
  # Wine keeps the first screen size it saw in a prefix.
  rm -rf "$work/prefix" && export WINEPREFIX=$work/prefix
  "$loader" wineboot -i >/dev/null 2>&1

  echo "   vexmark -f 10 (warm-up)..."
  vexmark -f 10
  echo "   vexmark -c -f 100 and -e -f 100 (capture and encode time per frame), three times each..."
  cap_ms=$(least_of_3 capture_ms)
  enc_ms=$(least_of_3 encode_ms)
  echo "   vexmark -t $seconds (one thread), three times..."
  one_fps=$(best_of_3 one_thread)
  # The third run's log is still there; its frames were counted in a subshell.
  read_frames
  rate=$(sed -n 's/.*compression rate: .*)=\([0-9.]*\)$/\1/p' "$work/run.log")
  enc_kb=$(sed -n 's/.*compression rate: (\([0-9]*\) kB\/.*/\1/p' "$work/run.log")
  bytes=$(awk -v k="$enc_kb" -v f="$frames" 'BEGIN { printf "%d", (f ? k * 1024 / f : 0) }')
  echo "   vexmark -n -t $seconds (two threads), three times..."
  two_fps=$(best_of_3 two_threads)
  echo "   vexmark -e -f 100 (encode only), three times..."
  enc_fps=$(best_of_3 encode_only)

  gpu_fps=- gpu_dct_fps=- gpu_dct_vle_fps=-
  if [[ -f $stand_in && -f $shader ]]; then
    # The GPU runs: the program beside its shader file and the stand-in compiler.
    saved_exe=$exe
    cp "$exe" "$shader" "$stand_in" "$work/"
    exe=$work/vexmark.exe
    export WINEDLLOVERRIDES=winedbg.exe=d\;d3dx10_40=n
    echo "   vexmark -g -t $seconds (GPU encoder on llvmpipe), three times..."
    gpu_fps=$(best_of_3 gpu_encoder)
    grep -q "CreateContext() returned fail" "$work/run.log" && gpu_fps="no GPU"
    echo "   vexmark -b 0 and -b 1 (GPU benchmark types), three times each..."
    gpu_dct_fps=$(best_of_3 gpu_dct)
    gpu_dct_vle_fps=$(best_of_3 gpu_dct_vle)
    exe=$saved_exe
    export WINEDLLOVERRIDES=winedbg.exe=d
  else
    echo "   GPU rows: skipped ($stand_in or $shader is not built)"
  fi

  echo "   ffmpeg: one grab, the MJPEG quality nearest $bytes bytes a frame..."
  ffmpeg -loglevel error -y -f x11grab -video_size "$size" -i "$DISPLAY" -frames:v 1 "$work/frame.png"
  ffmpeg -loglevel error -y -i "$work/frame.png" -f rawvideo -pix_fmt bgr0 "$work/frame.raw"
  best_q=2 best_diff=-1
  for q in 2 3 4 5 6 7 8 10 12 15; do
    ffmpeg -loglevel error -y -i "$work/frame.png" -pix_fmt yuvj420p -c:v mjpeg -q:v $q \
      -frames:v 1 "$work/q.jpg"
    diff=$(($(stat -c %s "$work/q.jpg") - bytes))
    diff=${diff#-}
    if ((best_diff < 0 || diff < best_diff)); then best_q=$q best_diff=$diff peer_bytes=$(stat -c %s "$work/q.jpg"); fi
  done
  echo "   ffmpeg x11grab + mjpeg -q:v $best_q, $seconds s, three times..."
  peer_fps=$(best_of_3 peer_pipeline)
  echo "   ffmpeg mjpeg encode only, the same frame from a file, one thread, three times..."
  peer_enc_fps=$(best_of_3 peer_encode_only)

  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "vexmark, one thread" "$one_fps" "$cap_ms" "$enc_ms" "$bytes" "$rate")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "vexmark, two threads (-n)" "$two_fps" "" "" "" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "ffmpeg x11grab + mjpeg -q:v $best_q" "$peer_fps" "" "" "$peer_bytes" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "vexmark encode only (-e)" "$enc_fps" "" "" "" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "ffmpeg mjpeg encode only, 1 thread" "$peer_enc_fps" "" "" "" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "vexmark GPU encoder (-g), llvmpipe" "$gpu_fps" "" "" "" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "GPU benchmark -b 0 (DCT), llvmpipe" "$gpu_dct_fps" "" "" "" "")")
  rows+=("$(printf '%-10s %-34s %7s %8s %8s %9s %6s' "$size" "GPU benchmark -b 1 (DCT+VLE)" "$gpu_dct_vle_fps" "" "" "" "")")
  ratios+=("$(awk -v s="$size" -v a="$one_fps" -v b="$peer_fps" -v c="$enc_fps" -v d="$peer_enc_fps" -v t="$two_fps" \
    'BEGIN { printf "%-10s pipeline vexmark/ffmpeg %.2f   encode-only vexmark/ffmpeg %.2f   two/one thread %.2f", s, (b ? a / b : 0), (d ? c / d : 0), (a ? t / a : 0) }')")
done

echo
cpu=$(sed -n 's/^model name[[:space:]]*: *//p' /proc/cpuinfo | head -1)
bits=$([[ $arch == win32 ]] && echo 32 || echo 64)
echo "vexmark ($arch build under $bits-bit Wine) and ffmpeg on the same Xvfb screen and picture"
echo "machine: $(nproc) cores, ${cpu:-unknown CPU}"
printf '%-10s %-34s %7s %8s %8s %9s %6s\n' size run fps "cap ms" "enc ms" bytes/frm rate
for row in "${rows[@]}"; do echo "$row"; done
for ratio in "${ratios[@]}"; do echo "$ratio"; done
echo "(fps: best of three runs; two threads: the 31 frames the ring holds before the clock starts"
echo " are not counted; cap ms / enc ms: per frame over whole -c -f 100 and -e -f 100 runs, least"
echo " of three; rate: encoded / captured bytes)"
echo "(ffmpeg rows: -threads 1 and ffmpeg's own -benchmark clock)"
echo "(GPU rows: Direct3D 10 on Mesa's llvmpipe, which renders on the CPU)"

if [[ -x build/host/bench/perf/vexmark_bench ]]; then
  echo
  echo "Stage costs on the simulated screen (host, Google Benchmark):"
  build/host/bench/perf/vexmark_bench --benchmark_min_time=0.2 2>/dev/null |
    grep -E '^BM_' | sed 's/\/iterations:1\/manual_time//'
fi
