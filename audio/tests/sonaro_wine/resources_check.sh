#!/bin/bash
# Checks a built sonaro executable's resources: the frame's set 128 (title string, menu with
# Exit and About, accelerators for the edit commands and the panes), the About dialog 100 and
# a manifest that asks for no elevation. Arguments: windres, the executable.
set -u
WINDRES=$1
EXE=$2
rc=$("$WINDRES" -J coff -i "$EXE" -O rc) || { echo "cannot read resources of $EXE"; exit 1; }
failures=0
expect() {
  printf '%s\n' "$rc" | grep -qF -- "$1" || { echo "missing: $1"; failures=$((failures + 1)); }
}
expect '128 MENU'
expect 'MENUITEM "E&xit", 57665'
expect 'MENUITEM "&About sonaro...", 57664'
for command in 57643 57635 57634 57637; do expect "$command, VIRTKEY, CONTROL"; done
expect '117, 57680, VIRTKEY'
expect '117, 57681, VIRTKEY, SHIFT'
expect '128, "sonaro"'
expect '100 DIALOGEX'
expect 'CAPTION "About sonaro"'
expect '"sonaro Version 1.0"'
expect 'DEFPUSHBUTTON "OK", 1,'
printf '%s\n' "$rc" | grep -q '^/\* Type: 24' || { echo "no manifest"; failures=$((failures + 1)); }
grep -q 'level="asInvoker"' "$EXE" || { echo "manifest level"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "resources complete"
exit $((failures > 0))
