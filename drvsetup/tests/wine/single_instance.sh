#!/bin/bash
# A second instance ends at once, removing nothing and showing nothing.
. "$(dirname "$0")/common.sh"
install_tool
printf '[Version]\r\nClassGuid={4d36e96c-e325-11ce-bfc1-08002be10318}\r\n*VQVADSimple\r\n' \
  > "$INF_DIR/oem60.inf"
MUTEX='{A77C99CC-EFDF-4c38-891E-9F4701C1672C}'

report=$(wine "$BOX_WATCH" --timeout 30000 --hold-mutex "$MUTEX" -- 'C:\tool\SetupOv.exe' -? 2>&1 |
  tr -d '\r')
expect_no_box "$report"
expect_line "$report" "exit=0"
report=$(wine "$BOX_WATCH" --timeout 30000 --hold-mutex "$MUTEX" -- 'C:\tool\SetupOv.exe' -O 8 -S \
  2>&1 | tr -d '\r')
expect_line "$report" "exit=0"
expect_file "$INF_DIR/oem60.inf"

# Once the other instance is gone the same run removes the file.
report=$(run_tool -O 8 -S)
expect_line "$report" "exit=0"
expect_no_file "$INF_DIR/oem60.inf"
finish
