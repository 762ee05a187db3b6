#!/bin/bash
# Exit codes and message boxes for good and bad command lines.
. "$(dirname "$0")/common.sh"
install_tool

USAGE=' [Arguments]\nArguments:\n    -?                      Show this help.\n    -s                      Don'"'"'t show complete dialog.'

for bad in '-?' '/?' '-O8' '-O0' '-x' '-O 8 -SS'; do
  # shellcheck disable=SC2086
  report=$(run_tool $bad)
  expect_box "$report" "$USAGE"
  expect_line "$report" "exit=2"
done

for good in '-O 16 -S' '/o 16' '-S'; do
  # shellcheck disable=SC2086
  report=$(run_tool $good)
  expect_no_box "$report"
  expect_line "$report" "exit=0"
done

set_version nt40
report=$(run_tool -O 8 -S)
expect_box "$report" "Unsupported platform!"
expect_line "$report" "exit=0"
finish
