#!/usr/bin/env bash
# Runs one suite of the display-topology Wine test, optionally under another Windows version
# for that program (Wine's per-program AppDefaults), then checks that the program's own entry
# wrote its lines to the debugger: the monitor's log holds the last lines of its path.
# Usage (inside the Wine runner): display_topology_wine.sh EXE SUITE [VERSION]
set -euo pipefail
exe=$1
suite=$2
if [ $# -ge 3 ]; then
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$exe")" /v Version /d "$3" /f \
    >/dev/null
fi
wine "$exe" --gtest_filter="$suite.*"
case $suite in
  Win7Path) expected=("Win7" "Load OK" "Get OK" "ERRO_SUCESS") ;;
  *) expected=("Other OS" "Pri: " "Add: ") ;;
esac
for text in "${expected[@]}"; do
  if ! grep -q "	$text" "$OV_DEBUG_LOG"; then
    echo "the debugger did not see \"$text\"; its log:" >&2
    cat "$OV_DEBUG_LOG" >&2
    exit 1
  fi
done
echo "debugger saw: ${expected[*]}"
