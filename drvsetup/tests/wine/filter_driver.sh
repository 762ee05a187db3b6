#!/bin/bash
# The filter driver's service key, its entry in the display class's LowerFilters, its file.
. "$(dirname "$0")/common.sh"
install_tool
SERVICE='HKLM\SYSTEM\CurrentControlSet\Services\ZynKmdFltr'
CLASS='HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}'
DRIVER="$WINDIR_UNIX/system32/drivers/ZynKmdFltr.sys"

install_filter() {
  wine reg add "$SERVICE" /v Start /t REG_DWORD /d 3 /f >/dev/null 2>&1
  wine reg add "$SERVICE\\Parameters\\Deep\\Deeper" /v x /d y /f >/dev/null 2>&1
  wine reg add "$SERVICE\\Enum" /f >/dev/null 2>&1
  mkdir -p "$(dirname "$DRIVER")"
  printf 'driver' > "$DRIVER"
}

install_filter
wine reg add "$CLASS" /v LowerFilters /t REG_MULTI_SZ /d 'Other\0ZynKmdFltr\0More' /f >/dev/null 2>&1
report=$(run_tool -O 16 -S)
expect_line "$report" "exit=0"
key_exists "$SERVICE" && fail "service key still there"
filters=$(wine reg query "$CLASS" /v LowerFilters 2>/dev/null | tr -d '\r' | grep LowerFilters)
case "$filters" in
  *REG_MULTI_SZ*'Other\0More') ;;
  *) fail "LowerFilters should be Other, More; is: $filters" ;;
esac
expect_no_file "$DRIVER"

# Without the value there is nothing to take out: the file still goes.
install_filter
wine reg delete "$CLASS" /v LowerFilters /f >/dev/null 2>&1
report=$(run_tool -O 16 -S)
expect_line "$report" "exit=0"
key_exists "$SERVICE" && fail "service key still there (no LowerFilters)"
expect_no_file "$DRIVER"

# The entry alone: the value goes with it.
install_filter
wine reg add "$CLASS" /v LowerFilters /t REG_MULTI_SZ /d 'zynkmdfltr' /f >/dev/null 2>&1
report=$(run_tool -O 16 -S)
wine reg query "$CLASS" /v LowerFilters >/dev/null 2>&1 && fail "LowerFilters should be deleted"
expect_no_file "$DRIVER"
finish
