#!/usr/bin/env bash
# Runs a program in a Wine prefix with the stand-in virtual audio driver installed, then takes
# the driver out again. Meant to run inside scripts/wine-run.sh, which provides the prefix.
#
# Usage: run_with_driver.sh <driver .sys> <vad_install.exe> <program> [args...]
# Exit code: the program's, or 1 when the driver cannot be installed or removed.
set -uo pipefail

(($# >= 3)) || { echo "usage: $0 <driver.sys> <vad_install.exe> <program> [args...]" >&2; exit 2; }
driver=$1 installer=$2
shift 2

# The driver is loaded from drive Z:, the unix root.
if ! wine "$installer" install "Z:${driver//\//\\}"; then
  echo "run_with_driver: the driver did not install" >&2
  exit 1
fi
wine "$@"
rc=$?
if ! wine "$installer" uninstall; then
  echo "run_with_driver: the driver did not uninstall" >&2
  ((rc)) || rc=1
fi
exit "$rc"
