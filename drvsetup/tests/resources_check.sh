#!/bin/bash
# Checks a built SetupOv executable's resources: every string id in English (9,1),
# Traditional Chinese (4,1) and Simplified Chinese (4,2), and a manifest resource (id 1) that
# asks for the administrator level. Arguments: windres, the executable.
set -u
WINDRES=$1
EXE=$2
rc=$("$WINDRES" -J coff -i "$EXE" -O rc) || { echo "cannot read resources of $EXE"; exit 1; }
ids=$(printf '%s\n' "$rc" | awk '
  /^LANGUAGE / { gsub(",", ""); language = $2 "," $3 }
  /^  [0-9]+, / { sub(",", "", $1); print language " " $1 }')
failures=0
for language in 9,1 4,1 4,2; do
  for id in $(seq 100 111) $(seq 10001 10013) $(seq 10021 10040); do
    if ! printf '%s\n' "$ids" | grep -qx "$language $id"; then
      echo "missing string $id in language $language"
      failures=$((failures + 1))
    fi
  done
done
printf '%s\n' "$rc" | grep -q '^1 24 ' || { echo "no manifest resource 1"; failures=$((failures + 1)); }
grep -q 'level="requireAdministrator"' "$EXE" || { echo "manifest does not ask for administrator"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "resources complete"
exit $((failures > 0))
