#!/usr/bin/env bash
# The fuzzing stage: builds the host-fuzz preset whole (clang; every library instrumented for
# libFuzzer, the address and undefined-behaviour sanitizers), then runs every fuzz target the
# build lists for the same fixed time, seeded from its corpus and the files the build makes,
# with its format's dictionary. Prints one line per target: executions, coverage (libFuzzer's
# "cov:") after the seeds were read and at the end, result.
#
# Budget: 12 minutes for the whole stage on a 2-core machine, build included; the other
# stages take about an hour of the 90 minutes CI allows, and this leaves room for a slow day.
# Each target runs OV_FUZZ_SECONDS seconds when that is set (a long run by hand); otherwise
# what the budget leaves once the build is done, shared among the targets OV_JOBS at a time,
# between 10 and 30 seconds each.
#
# A crash, a leak, an undefined-behaviour report or an input slower than 25 s fails the stage;
# the reproducer stays in build/host-fuzz/fuzz/findings/<target>/. New inputs the runs find
# are kept in build/host-fuzz/fuzz/corpus/<target>/, so runs by hand build on each other.
#
# --row FILE writes the stage's table row for run-tests.sh:
# "stage|result|seconds|ran|passed|failed|skipped|notes", counting targets.
set -uo pipefail
cd "$(dirname "$0")/.."

row_file=
if [[ ${1:-} == --row ]]; then
  row_file=$2
fi
budget=${OV_FUZZ_BUDGET:-720}
jobs=${OV_JOBS:-$(nproc)}
build=build/host-fuzz
out=$build/fuzz
start=$SECONDS

write_row() {
  local IFS='|'
  local line="fuzzing|$*"
  echo "=== fuzzing: $1 in $2 s"
  if [[ -n $row_file ]]; then echo "$line" >"$row_file"; fi
}

echo "=== fuzzing: building host-fuzz"
if ! cmake --preset host-fuzz >/dev/null || ! cmake --build --preset host-fuzz -j "$jobs"; then
  write_row FAILED $((SECONDS - start)) 0 0 0 0 "the host-fuzz build failed"
  exit 1
fi
mapfile -t targets < <(grep -v '^$' "$build/fuzz_targets.txt")
if ((${#targets[@]} == 0)); then
  write_row FAILED $((SECONDS - start)) 0 0 0 0 "the build lists no fuzz target"
  exit 1
fi

if [[ -n ${OV_FUZZ_SECONDS:-} ]]; then
  seconds=$OV_FUZZ_SECONDS
else
  rounds=$(((${#targets[@]} + jobs - 1) / jobs))
  seconds=$(((budget - (SECONDS - start) - 30) / rounds))
  ((seconds > 30)) && seconds=30
  ((seconds < 10)) && seconds=10
fi
echo "=== fuzzing: ${#targets[@]} targets, $seconds s each, $jobs at a time"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# fuzz_one LINE: one target's run; its summary goes to $out/results/<target>.
fuzz_one() {
  local name program dictionary seed_text seeds seed
  IFS=$'\t' read -r name program dictionary seed_text <<<"$1"
  local corpus=$out/corpus/$name findings=$out/findings/$name log=$out/logs/$name.log
  local seed_dir=$out/seeds/$name
  rm -rf "$findings" "$seed_dir"
  mkdir -p "$corpus" "$findings" "$seed_dir" "$out/logs" "$out/results"
  IFS='|' read -ra seeds <<<"$seed_text"
  for seed in "${seeds[@]}"; do
    if [[ -d $seed ]]; then cp -r "$seed/." "$seed_dir/"; elif [[ -f $seed ]]; then cp "$seed" "$seed_dir/"; fi
  done
  local options=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$findings/")
  [[ $dictionary != - ]] && options+=(-dict="$dictionary")
  local status=ok
  "$program" "${options[@]}" "$corpus" "$seed_dir" >"$log" 2>&1 || status=FAILED
  local executions cov_start cov_end
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov_start=$(grep -m1 'INITED' "$log" | grep -o 'cov: [0-9]*' | cut -d' ' -f2)
  cov_end=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  if [[ -n $(ls -A "$findings") ]]; then status=FAILED; fi
  printf '%s %s %s %s %s\n' "$name" "$status" "${executions:-0}" "${cov_start:-?}" \
    "${cov_end:-?}" >"$out/results/$name"
}

rm -rf "$out/results"
for line in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n; done
  fuzz_one "$line" &
done
wait

ran=0 passed=0 failed=0 notes=()
printf '%-36s %-7s %12s  %s\n' target result executions 'cov start -> end'
for line in "${targets[@]}"; do
  name=${line%%$'\t'*}
  read -r _ status executions cov_start cov_end <"$out/results/$name" ||
    status=FAILED executions=0 cov_start=? cov_end=?
  printf '%-36s %-7s %12s  %s -> %s\n' "$name" "$status" "$executions" "$cov_start" "$cov_end"
  ((ran++))
  if [[ $status == ok ]]; then
    ((passed++))
  else
    ((failed++))
    notes+=("$name failed: log $out/logs/$name.log, reproducer in $out/findings/$name/")
  fi
done
result=ok
((failed)) && result=FAILED
notes=("$seconds s per target" "${notes[@]}")
if ((SECONDS - start > budget)); then notes+=("over the stage's budget of $budget s"); fi
note_text=$(IFS=';' && echo "${notes[*]}")
write_row "$result" $((SECONDS - start)) "$ran" "$passed" "$failed" 0 "$note_text"
[[ $result == ok ]]
