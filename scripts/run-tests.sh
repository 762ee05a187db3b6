#!/usr/bin/env bash
# Every test: host (plain and sanitizers), the Windows cross-builds, the Wine tests of both
# builds (the win32 ones where the machine runs 32-bit code). Every stage runs, even after one
# fails; the run ends with one table, a row per stage.
#
# Fails when a stage fails, when Wine is installed and no 64-bit Wine test ran, and when a Wine
# test was skipped for any reason but the machine running no 32-bit code (win32 stage only) or
# Wine not being installed at all. OV_WINE_NO_32BIT=1 makes a machine act as one without 32-bit
# code; OV_JOBS sets the build parallelism (default: the number of processors).
#
# Where the machine runs no 32-bit code, the shipped 32-bit programs' own tests (CTest label vm32)
# run in the emulated 32-bit guest of scripts/vm32.sh instead; its image is built in the
# background while the other stages run (cached between runs: see that script).
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-machine.sh || exit 1
source scripts/wine-arch.sh
source scripts/test-summary.sh

jobs=${OV_JOBS:-$(nproc)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rows=()
failed=0
declare -A built=()
# CTest as a stage runs it: on this machine, or (vm32_stage) inside the emulated guest, where the
# JUnit file must lie in the folder that comes back.
ctest_cmd=(ctest)
junit_dir=$work

# One table row: stage, result, seconds, then ran, passed, failed, skipped and notes for tests.
add_row() {
  local IFS='|'
  rows+=("$*")
  [[ $2 == ok ]] || failed=1
  echo "=== $1: $2 in $3 s"
}

build_stage() {
  local name=$1 preset=$2 start=$SECONDS result=ok
  echo "=== $name"
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs"; then
    built[$preset]=1
  else
    result=FAILED
  fi
  add_row "$name" "$result" $((SECONDS - start))
}

# test_stage NAME PRESET WINE_ARCH CTEST_ARGS...: WINE_ARCH is win32 or win64 for a stage of
# Wine tests, "-" for any other.
test_stage() {
  local name=$1 preset=$2 wine_arch=$3
  shift 3
  local start=$SECONDS result=ok notes=() junit=$junit_dir/$RANDOM.xml
  echo "=== $name"
  if [[ -z ${built[$preset]:-} ]]; then
    add_row "$name" "not run" 0 0 0 0 0 "the $preset build failed"
    return
  fi
  "${ctest_cmd[@]}" --test-dir "build/$preset" --output-on-failure --output-junit "$junit" "$@" ||
    result=FAILED
  local ran passed failures skipped reasons=()
  {
    read -r ran passed failures skipped
    mapfile -t reasons
  } < <(junit_summary "$junit" 2>/dev/null || echo "0 0 0 0")
  local failed_names
  failed_names=$(junit_failed_names "$junit" 2>/dev/null)
  # A Wine test drives real programs through Wine's own timing, which a loaded machine can
  # upset; one that fails gets one more run, and the table names it either way.
  if [[ $wine_arch != - ]] && ((failures)); then
    echo "=== $name: running the failed tests once more: $failed_names"
    # By name, not --rerun-failed: a run in the emulated guest leaves CTest's list of failures
    # there.
    if "${ctest_cmd[@]}" --test-dir "build/$preset" -R "^(${failed_names//, /|})\$" \
      --no-tests=error --output-on-failure; then
      notes+=("passed when run again: $failed_names")
      result=ok passed=$ran failures=0
    fi
  fi
  ((failures)) && notes+=("$failures failed: $failed_names")

  local reason count
  while read -r count reason; do
    [[ -n $reason ]] || continue
    notes+=("$count skipped: $reason")
    if [[ $wine_arch == - ]] || wine_skip_accepted "$wine_arch" "$reason"; then
      continue
    fi
    result=FAILED
    notes+=("(a Wine test may be skipped only where the machine cannot run it)")
  done < <(((${#reasons[@]})) && printf '%s\n' "${reasons[@]}" | sort | uniq -c)

  if [[ $wine_arch == win64 ]] && ov_wine_installed && ((ran == 0)); then
    result=FAILED
    notes+=("no 64-bit Wine test ran, though Wine is installed")
  fi
  local IFS=';'
  add_row "$name" "$result" $((SECONDS - start)) "$ran" "$passed" "$failures" "$skipped" \
    "${notes[*]}"
}

print_table() {
  local row stage result seconds ran passed failures skipped notes
  echo
  printf '%-24s %-8s %6s %5s %6s %6s %7s  %s\n' stage result seconds ran passed failed skipped notes
  for row in "${rows[@]}"; do
    IFS='|' read -r stage result seconds ran passed failures skipped notes <<<"$row"
    printf '%-24s %-8s %6s %5s %6s %6s %7s  %s\n' "$stage" "$result" "$seconds" "${ran:--}" \
      "${passed:--}" "${failures:--}" "${skipped:--}" "${notes//;/; }"
  done
}

# The emulated guest is wanted only where 32-bit code cannot run here (not where Wine is missing).
vm32_image_pid=
if ov_wine_installed && [[ $(ov_wine_arch_unavailable win32) == "$ov_wine_no_32bit_reason"* ]]; then
  bash scripts/vm32.sh image >"$work/vm32-image.log" 2>&1 &
  vm32_image_pid=$!
fi

# The shipped 32-bit programs' tests in the emulated guest: the repository goes in (less what the
# guest does not need), the JUnit file comes back in out/.
vm32_stage() {
  local name="win32 in emulator" start=$SECONDS
  [[ -n $vm32_image_pid ]] || return 0
  echo "=== $name: waiting for the guest's image"
  if ! wait "$vm32_image_pid"; then
    add_row "$name" FAILED $((SECONDS - start)) 0 0 0 0 "the guest's image could not be built: $(tail -1 "$work/vm32-image.log")"
    return
  fi
  cat "$work/vm32-image.log"
  rm -rf out/vm32 && mkdir -p out/vm32
  ctest_cmd=(bash scripts/vm32.sh run --timeout 2400 --win32-checkout "$PWD" -- ctest)
  junit_dir=$PWD/out/vm32
  test_stage "$name" win32 vm32 -L vm32 -j 2
  ctest_cmd=(ctest)
  junit_dir=$work
}

start=$SECONDS
echo "=== format check"
if bash scripts/check-format.sh; then format=ok; else format=FAILED; fi
add_row "format check" "$format" $((SECONDS - start))
build_stage "host build" host
test_stage "host tests" host - -j 2
build_stage "win32 build" win32
build_stage "win64 build" win64
start=$SECONDS
echo "=== distribution check"
if bash scripts/check-dist.sh; then dist=ok; else dist=FAILED; fi
add_row "distribution check" "$dist" $((SECONDS - start))
test_stage "win32 Wine" win32 win32 -L wine -j 2
test_stage "win64 Wine" win64 win64 -L wine -j 2
test_stage "win32 tests (not Wine)" win32 - -LE wine
test_stage "win64 tests (not Wine)" win64 - -LE wine
build_stage "host-asan build" host-asan
test_stage "host-asan tests" host-asan - -LE slow -j 2
build_stage "host-tsan build" host-tsan
test_stage "host-tsan tests" host-tsan - -LE slow -j 2
# Its own build and every fuzz target for a fixed time (scripts/run-fuzz.sh says the budget).
bash scripts/run-fuzz.sh --row "$work/fuzz-row"
IFS='|' read -ra fuzz_row <"$work/fuzz-row" || fuzz_row=(fuzzing FAILED 0 0 0 0 0 "no result")
add_row "${fuzz_row[@]}"
# Last, so the guest's image, built in the background from the start, is ready by then.
vm32_stage

print_table
if ((failed)); then
  echo "FAILED"
  exit 1
fi
echo "all stages passed"
