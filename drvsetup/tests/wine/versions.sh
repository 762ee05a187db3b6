#!/bin/bash
# The default component mask: the filter driver is included from Windows 7 on only.
. "$(dirname "$0")/common.sh"
install_tool
SERVICE='HKLM\SYSTEM\CurrentControlSet\Services\ZynKmdFltr'

set_version winxp
wine reg add "$SERVICE" /v Start /t REG_DWORD /d 3 /f >/dev/null 2>&1
printf '[Version]\r\nClassGuid={4d36e96c-e325-11ce-bfc1-08002be10318}\r\n*VQVADSimple\r\n' \
  > "$INF_DIR/oem61.inf"
report=$(run_tool)
expect_line "$report" "exit=0"
expect_no_box "$report"
key_exists "$SERVICE" || fail "Windows XP: the filter driver's key must stay"
expect_no_file "$INF_DIR/oem61.inf"

set_version win7
report=$(run_tool -O 0)
expect_line "$report" "exit=0"
key_exists "$SERVICE" && fail "Windows 7: the filter driver's key must go"
finish
