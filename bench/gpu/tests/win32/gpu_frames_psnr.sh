#!/usr/bin/env bash
# Runs the Wine frame test with its streams kept, decodes them with libjpeg-turbo's djpeg and
# checks that each GPU stream's PSNR against the source is within 0.5 dB of the CPU stream's.
# Usage (inside the Wine runner): gpu_frames_psnr.sh FOLDER_OF_bench_gpu_encoder_wine_tests.exe
set -euo pipefail
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
OV_GPU_FRAMES_DIR="$frames" wine "$1/bench_gpu_encoder_wine_tests.exe" --gtest_filter='*FramesGiveTheReference*'
status=0
for source in "$frames"/*.ppm; do
  base=${source%.ppm}
  psnr() {
    djpeg -ppm "$base-$1.jpg" >"$base-$1.ppm"
    compare -metric PSNR "$source" "$base-$1.ppm" null: 2>&1 >/dev/null || true
  }
  gpu=$(psnr gpu)
  cpu=$(psnr cpu)
  echo "[ psnr ] $(basename "$base"): GPU $gpu dB, CPU $cpu dB"
  if ! awk -v g="$gpu" -v c="$cpu" 'BEGIN { exit !(g + 0.5 >= c) }'; then
    echo "GPU stream of $(basename "$base") is more than 0.5 dB below the CPU stream" >&2
    status=1
  fi
done
[ -n "$(ls "$frames"/*.ppm 2>/dev/null)" ] || { echo "no frames were written" >&2; exit 1; }
exit $status
