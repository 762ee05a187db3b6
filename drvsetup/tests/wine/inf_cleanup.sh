#!/bin/bash
# INF clean-up after the audio device removal and the network package removal, on real files
# in the prefix's INF folder, with a stand-in Difxapi.dll beside the program.
. "$(dirname "$0")/common.sh"
install_tool
cp "$FAKE_DIFXAPI" "$TOOL_DIR/Difxapi.dll"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};difxapi=n"

inf() { printf '[Version]\r\nClassGuid=%s\r\n[Models]\r\n%%Dev%%=Install,%s\r\n' "$1" "$2"; }
add_inf() {
  inf "$2" "$3" > "$INF_DIR/$1.inf"
  printf 'PNF' > "$INF_DIR/$1.pnf"
}
add_inf oem50 '{4d36e96c-e325-11ce-bfc1-08002be10318}' '*VQVADSimple'
add_inf oem51 '{4D36E96C-E325-11CE-BFC1-08002BE10318}' '*VQVADSimple'
add_inf oem52 '{4D36E968-E325-11CE-BFC1-08002BE10318}' 'ROOT\DISPLAY\ZYN_Vfbdd'
add_inf oem53 '{4d36e972-e325-11ce-bfc1-08002be10318}' 'USB\VID_1f4e&PID_8500'
inf '{4d36e96c-e325-11ce-bfc1-08002be10318}' '*VQVADSimple' > "$INF_DIR/vqvad.inf"

report=$(run_tool -O 8 -S)
expect_line "$report" "exit=0"
expect_no_file "$INF_DIR/oem50.inf"
expect_no_file "$INF_DIR/oem50.pnf"
for kept in oem51.inf oem51.pnf oem52.inf oem52.pnf oem53.inf oem53.pnf vqvad.inf; do
  expect_file "$INF_DIR/$kept"
done
grep -q DriverPackageUninstallA "$OV_DEBUG_LOG" && fail "no package uninstall expected for -O 8"

# The start-up copied the library from the program folder over the system directory's one
# (whose name on disk is in lower case).
copied=$(find "$WINDIR_UNIX/system32" -maxdepth 1 -iname difxapi.dll | head -1)
cmp -s "$FAKE_DIFXAPI" "$copied" || fail "Difxapi.dll was not copied into system32"

report=$(run_tool -O 4 -S)
expect_line "$report" "exit=0"
if ! cut -f2- "$OV_DEBUG_LOG" | grep -qixF 'DriverPackageUninstallA C:\windows\inf\oem53.inf flags=4 info=0'; then
  fail "expected the package uninstall of oem53.inf; debug log:"
  sed 's/^/    /' "$OV_DEBUG_LOG"
fi
[ "$(grep -c DriverPackageUninstallA "$OV_DEBUG_LOG")" -eq 1 ] || fail "expected one uninstall"
expect_file "$INF_DIR/oem53.inf"
expect_no_file "$INF_DIR/oem53.pnf"
expect_file "$INF_DIR/oem52.inf"
finish
