#!/usr/bin/env bash
# vexmark.exe with the GPU encoder under Wine (llvmpipe on Xvfb), run from a folder that holds
# the program, "Dezezo.psh" and, where a case wants it, the stand-in compiler.
# Usage (inside the Wine runner): vexmark_gpu_wine.sh VEXMARK_FOLDER STAND_IN_FOLDER
set -uo pipefail
vexmark_dir=$1
stand_in_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# run CASE ARGS...: runs vexmark in $work; its exit code in $code, its debug lines in $work/CASE.log.
run() {
  local name=$1
  shift
  local before
  before=$(wc -l <"$OV_DEBUG_LOG")
  (cd "$work" && wine vexmark.exe "$@")
  code=$?
  # The monitor writes a line as it arrives; wait (5 s at most) for the run's closing line.
  for _ in $(seq 50); do
    tail -n +$((before + 1)) "$OV_DEBUG_LOG" | grep -q 'return iVexmark10s\|Another instance' && break
    sleep 0.1
  done
  tail -n +$((before + 1)) "$OV_DEBUG_LOG" | cut -f2- >"$work/$name.log"
}

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_line() {  # CASE LINE
  grep -qxF -- "$2" "$work/$1.log" || fail "$1: no line \"$2\""
}

expect_no_line() {  # CASE TEXT
  ! grep -qF -- "$2" "$work/$1.log" || fail "$1: unexpected \"$2\""
}

cp "$vexmark_dir/vexmark.exe" "$vexmark_dir/Dezezo.psh" "$work/"
cp "$stand_in_dir/d3dx10_40.dll" "$work/"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};d3dx10_40=n"

for type in 0 1; do
  run "bench$type" -b "$type"
  rate=$(sed -n 's/^GPU Benchmark FPS = \([0-9]*\)$/\1/p' "$work/bench$type.log")
  echo "vexmark -b $type: exit code $code, GPU Benchmark FPS = ${rate:-none}"
  [ -n "$rate" ] && [ "$rate" -gt 0 ] && [ "$code" -eq "$rate" ] || fail "-b $type: rate ${rate:-none}, exit code $code"
done

run bench2 -b 2
expect_line bench2 "GPU Benchmark FPS = 0"
expect_no_line bench2 "Test GPU_DCT+CPU_VLE+GPU_CAP FPS..."
[ "$code" -eq 0 ] || fail "-b 2: exit code $code"

run gpu_frames -g -f 3
echo "vexmark -g -f 3: exit code $code"
[ "$code" -ge 3 ] || fail "-g -f 3: exit code $code"
expect_no_line gpu_frames "returned fail"
expect_no_line gpu_frames "failed"
expect_no_line gpu_frames "Disable GPUEncoder"

# Without the stand-in the D3DX10 module does not load (Wine's own is disabled: it would abort).
rm "$work/d3dx10_40.dll"
WINEDLLOVERRIDES="${WINEDLLOVERRIDES};d3dx10_40=d" run no_compiler -g -f 3
expect_line no_compiler "MJGPUEncoder::CreateContext: LoadLibrary d3dx10_40.dll failed!"
expect_line no_compiler "vncEncoder::Init: m_pGPUEncoder->CreateContext() returned fail!"
[ "$code" -ge 3 ] || fail "without the compiler the CPU path did not run: exit code $code"

cp "$stand_in_dir/d3dx10_40.dll" "$work/"
echo "float4 MJPEG_VS( : this is not HLSL" >"$work/Dezezo.psh"
run broken_shader -g -f 3
expect_line broken_shader "MJGPUEncoder::InitContext: D3DX10CompileFromFile Dezezo.psh MJPEG_VS failed!"
expect_line broken_shader "vncEncoder::Init: m_pGPUEncoder->CreateContext() returned fail!"
[ "$code" -ge 3 ] || fail "with a broken shader file the CPU path did not run: exit code $code"

exit $((failures > 0))
