#!/bin/sh
# check_fuzz_instrumentation.sh TARGET ARCHIVE...
# Fails when an object file with code in one of the archives lacks the fuzzer's coverage
# counters or the address sanitizer: a fuzz target linking it would fuzz blind.
target=$1
shift
status=0
for archive in "$@"; do
  report=$(nm -A "$archive" 2>/dev/null | awk '
    { split($1, where, ":"); member = where[2] }
    $(NF-1) ~ /^[Tt]$/ { code[member] = 1 }
    $NF ~ /^__sanitizer_cov_8bit_counters_init$/ { coverage[member] = 1 }
    $NF ~ /^__asan_/ { asan[member] = 1 }
    END {
      for (m in code) if (!(m in coverage) || !(m in asan)) print m
    }')
  if [ -n "$report" ]; then
    echo "$target links $archive, whose objects are not instrumented for fuzzing:" >&2
    echo "$report" | sed 's/^/  /' >&2
    status=1
  fi
done
exit $status
