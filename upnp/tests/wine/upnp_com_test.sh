#!/usr/bin/env bash
# Ombrivue.dll in a private prefix: regsvr32 from a folder whose name holds a single quote,
# the client's checks in each phase (registered without and with a registrar, unregistered),
# and the debug lines of the phases that promise them.
# Usage (inside scripts/wine-run.sh): upnp_com_test.sh OMBRIVUE_DLL CLIENT_EXE REGISTRAR_DLL
set -euo pipefail
dll=$1 client=$2 registrar=$3

folder="$OV_DRIVE_C/Ombrivue's test"
mkdir -p "$folder"
cp "$dll" "$folder/Ombrivue.dll"
cp "$registrar" "$OV_DRIVE_C/upnp_test_registrar.dll"
export OV_UPNP_MODULE="C:\\Ombrivue's test\\Ombrivue.dll"
registrar_win='C:\upnp_test_registrar.dll'

fail() { echo "FAIL: $*"; exit 1; }

# Runs the client's tests matching $1 in one process; prints its output and leaves its pid
# in $pid.
run_client() {
  local out
  out=$(wine "$client" --gtest_filter="$1" 2>&1) || { echo "$out"; fail "client $1"; }
  echo "$out"
  pid=$(echo "$out" | sed -n 's/^upnp-client-pid: \([0-9]*\).*/\1/p' | head -n1)
  [ -n "$pid" ] || fail "no pid from client $1"
}

# The debug lines of process $1, in order.
lines_of() { awk -F'\t' -v pid="$1" '$1 == pid { sub(/^[^\t]*\t/, ""); print }' "$OV_DEBUG_LOG"; }

expect_lines() {
  local got
  got=$(lines_of "$1")
  [ "$got" == "$2" ] || fail "debug lines of $1 were:
$got
expected:
$2"
}

# A plain folder first, then (below) the folder with the quote.
mkdir -p "$OV_DRIVE_C/plain"
cp "$dll" "$OV_DRIVE_C/plain/Ombrivue.dll"
plain='C:\plain\Ombrivue.dll'
wine regsvr32 /s "$plain" || fail "regsvr32 (plain folder) returned $?"
OV_UPNP_MODULE=$plain run_client 'Registered.RegistryContentKeyByKey'
wine regsvr32 /u /s "$plain" || fail "unregistration (plain folder) returned $?"
OV_UPNP_MODULE=$plain run_client 'Unregistered.*'

# A stale key under the class and under Programmable: registration must start them afresh.
wine reg add 'HKCR\CLSID\{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}\Stale\Deeper' /f >/dev/null
wine reg add 'HKCR\CLSID\{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}\Programmable\Old' /f >/dev/null

wine regsvr32 /s "$OV_UPNP_MODULE" || fail "regsvr32 returned $?"
run_client 'Registered.*'

run_client 'NullDescription.*'
expect_lines "$pid" $'COmvoDCO: Entering Initialize\nCOmvoDCO: bstrXMLDesc is null'

run_client 'NoRegistrar.*'
lines_of "$pid" | grep -qx "COmvoDCO: Can't create the registrar object" ||
  fail "no registrar line"

wine regsvr32 /s "$registrar_win" || fail "registrar registration returned $?"
run_client 'WithRegistrar.*:Service.*'
lines_of "$pid" | grep -qx 'COmvoService: Query Interface failed.Could not get pointer to IUPnPEventSink' ||
  fail "no Advise line"

run_client 'WithRegistrar.InitializeNamesTheRootDeviceAndServesItsService'
expect_lines "$pid" "COmvoDCO: Entering Initialize
COmvoDCO: Creating the service object
COmvoDCO: Querying the IDispatch for the service object
COmvoDCO: Creating the registrar object
COmvoDCO: Exiting the Initialize"

run_client 'RegistrarFails.*'
lines_of "$pid" | tail -n1 | grep -qx "COmvoDCO: Can't get the unique device names" ||
  fail "no unique name line"

# A subkey added after registration goes with the class key.
wine reg add 'HKCR\CLSID\{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}\AddedLater' /f >/dev/null
wine regsvr32 /u /s "$OV_UPNP_MODULE" || fail "unregistration returned $?"
run_client 'Unregistered.*'
wine regsvr32 /u /s "$OV_UPNP_MODULE" || fail "second unregistration returned $?"
run_client 'Unregistered.*'
echo "upnp_com_test: all phases passed"
