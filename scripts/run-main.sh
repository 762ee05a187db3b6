#!/usr/bin/env bash
# The main job: builds the Windows distribution into dist/win32 and shows the product as a user
# meets it. The shipped 32-bit programs run under 32-bit Wine where this machine runs 32-bit code;
# else in the emulated 32-bit guest where its image is already made (scripts/vm32.sh), with
# sonaro's real-time stream from the 64-bit build; else their 64-bit builds run under 64-bit
# Wine. The job says which. Then vexmark's benchmark table with its peers and the JPEG library's
# table. Everything it writes lies under out/main; the end lists it.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
progress() { echo "=== [$((SECONDS - start)) s] $*"; }

progress "setting up the machine"
bash scripts/setup-machine.sh
source scripts/wine-arch.sh
jobs=$(nproc)
out=$PWD/out/main
rm -rf "$out" && mkdir -p "$out"

for preset in win32 win64 host; do
  progress "building $preset"
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" >"$out/build-$preset.log" ||
    { tail -30 "$out/build-$preset.log"; exit 1; }
done
progress "checking the Windows distribution (dist/win32)"
bash scripts/check-dist.sh

# The demonstration: Quandle finds a simulated receiver and streams to it, sonaro redirects a
# numbered stream from the driver stand-in to the sound card. Each runs as the build's end-to-end
# scenario, verbose, so its lines (and Quandle's screenshots) are what a user would see.
# demo PRESET TESTS [COMMAND...]: the tests of one build, through COMMAND (the emulated guest).
demo() {
  local preset=$1 tests=$2
  shift 2
  "$@" env OV_SCREENSHOT_DIR="$out/quandle" ctest --test-dir "build/$preset" -R "^($tests)\$" -V 2>&1 |
    grep -v '^[0-9]*: Test command\|^[0-9]*: Environment\|^[0-9]*: ALSA lib\|^UpdateCTestConfiguration\|^Parse Config\|^Constructing\|^Checking test dependency\|^Test project\|^test [0-9]\|^\[ *[0-9.]*\] '
  return "${PIPESTATUS[0]}"
}
quandle=panel_quandle_end_to_end_wine_test
if ! reason32=$(ov_wine_arch_unavailable win32); then
  how="the shipped 32-bit programs under 32-bit Wine"
  progress "demonstration: $how"
  demo win32 "$quandle|audio_sonaro_end_to_end" || demo_failed=1
elif bash scripts/vm32.sh ready && ! reason64=$(ov_wine_arch_unavailable win64); then
  # The guest, once its image is made (scripts/vm32.sh image), runs the shipped Quandle; the
  # stream needs real time, which the guest does not keep, so sonaro's stream is the 64-bit
  # build's, and the shipped sonaro.exe shows its start-up and ways out in the guest.
  how="Quandle and sonaro's start-up and ways out as the shipped 32-bit programs in the emulated 32-bit guest ($reason32); sonaro's stream as the 64-bit build"
  progress "demonstration: $how"
  demo win32 "$quandle|audio_sonaro_ways_out" \
    bash scripts/vm32.sh run --timeout 1500 --win32-checkout "$PWD" -- || demo_failed=1
  demo win64 audio_sonaro_end_to_end || demo_failed=1
elif ! reason64=$(ov_wine_arch_unavailable win64); then
  how="the 64-bit builds under 64-bit Wine ($reason32; the emulated 32-bit guest is not made: bash scripts/vm32.sh image)"
  progress "demonstration: $how"
  demo win64 "$quandle|audio_sonaro_end_to_end" || demo_failed=1
else
  how="not run ($reason64)"
fi

progress "vexmark benchmark"
bash bench/perf/run_vexmark_benchmark.sh | tee "$out/vexmark-benchmark.txt"
progress "JPEG library against libjpeg-turbo"
build/host/bench/perf/jpeg_compare | tee "$out/jpeg-compare.txt"

progress "done in $((SECONDS - start)) s"
echo "Programs: $how${demo_failed:+ (the demonstration FAILED: see above)}"
echo "Written:"
find "$out" -type f ! -name 'build-*.log' | sort | sed 's/^/  /'
exit "${demo_failed:-0}"
