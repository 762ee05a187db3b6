#!/usr/bin/env bash
# Checks the Windows distribution: every shipped program is a PE file of the right kind, and
# nothing made only for the tests ships.
set -euo pipefail
cd "$(dirname "$0")/../dist/win32"
status=0
expect() {
  local file=$1 kind=$2
  if [ ! -f "$file" ]; then
    echo "missing: $file"; status=1
  elif ! file -b "$file" | grep -q "^$kind"; then
    echo "wrong kind: $file: $(file -b "$file")"; status=1
  else
    echo "ok: $file: $(file -b "$file")"
  fi
}
expect OmvoSetup.exe "PE32 executable (GUI) Intel 80386"
expect SetupOv.exe "PE32 executable (GUI) Intel 80386"
expect SetupOv64.exe "PE32+ executable (GUI) x86-64"
expect Ombrivue.dll "PE32 executable (DLL)"
expect OmbrivueLib.dll "PE32 executable (DLL)"
expect Quandle.exe "PE32 executable (GUI) Intel 80386"
expect QuandleStarter.exe "PE32 executable (GUI) Intel 80386"
expect skin/VivuVovo.zf "Zip archive data"
expect sonaro.exe "PE32 executable (GUI) Intel 80386"
expect vexmark.exe "PE32 executable (GUI) Intel 80386"
expect Dezezo.psh ".*ASCII text"
# The stand-in shader compiler is for the Wine tests only.
if [ -e d3dx10_40.dll ]; then
  echo "must not ship: d3dx10_40.dll"; status=1
fi
exit $status
