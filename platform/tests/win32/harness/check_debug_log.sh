#!/usr/bin/env bash
# Usage (inside the runner): check_debug_log.sh DEBUG_WRITER_EXE
# The writer's 8-bit and wide lines reach $OV_DEBUG_LOG in order with the right text and the
# writer's pid, none lost, the one written just before the writer exits included.
set -euo pipefail
wine "$1" 'a:ansi line\n' 'w:wide line' 'a:two\nlines\n' 'w:caf\u00e9 \u00fcber\r\n' \
  'a:\u00e9t\u00e9' 'count:300' 'a:' 'w:last line'

expected=$(
  printf '%s\n' 'ansi line' 'wide line' 'two' 'lines' 'café über' 'été'
  seq -f 'line %g' 1 300
  printf '%s\n' '' 'last line'
)
if ! diff <(printf '%s\n' "$expected") <(cut -f2- "$OV_DEBUG_LOG"); then
  echo "debug log differs from what was written (< expected, > log)" >&2
  exit 1
fi
pids=$(cut -f1 "$OV_DEBUG_LOG" | sort -u)
if ! [[ $pids =~ ^[0-9]+$ ]]; then
  echo "expected one numeric pid for every line, got: $pids" >&2
  exit 1
fi
