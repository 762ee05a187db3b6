#!/usr/bin/env bash
# Usage: test_summary.sh SCRIPTS_DIR
# The test command's reading of CTest's JUnit results and its rule for accepted Wine skips.
set -uo pipefail
source "$1/wine-arch.sh"
source "$1/test-summary.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
errors=0

check() {
  local what=$1 expected=$2 actual=$3
  if [[ $expected != "$actual" ]]; then
    printf '%s:\n  expected: %q\n  actual:   %q\n' "$what" "$expected" "$actual" >&2
    errors=1
  fi
}

# As CTest 3.25 writes it: the output of a skipped test in system-out, XML-escaped.
cat >"$dir/results.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<testsuite name="(empty)"
	tests="5"
	failures="1"
	skipped="3"
	>
	<testcase name="a" classname="a" time="0.1" status="notrun">
		<skipped message="SKIP_RETURN_CODE=77"/>
		<system-out>first line
wine-run: skipped: this machine runs no 32-bit code
</system-out>
	</testcase>
	<testcase name="b" classname="b" time="0.1" status="fail">
		<failure message=""/>
		<system-out>wine-run: skipped: only in a failed test's output
</system-out>
	</testcase>
	<testcase name="c" classname="c" time="0.1" status="run">
		<system-out></system-out>
	</testcase>
	<testcase name="d" classname="d" time="0.1" status="notrun">
		<skipped message="SKIP_RETURN_CODE=77"/>
		<system-out>wine-run: skipped: Xvfb &lt;1.2&gt; &amp; &quot;GLX&quot;
wine-run: skipped: a second reason is not the test's
</system-out>
	</testcase>
	<testcase name="e" classname="e" time="0.1" status="notrun">
		<skipped message="SKIP_RETURN_CODE=77"/>
		<system-out>skipped: by a script of its own
</system-out>
	</testcase>
</testsuite>
EOF
check "counts and reasons" "2 1 1 3
this machine runs no 32-bit code
Xvfb <1.2> & \"GLX\"
no reason given" "$(junit_summary "$dir/results.xml")"
printf '<testsuite tests="0">\n</testsuite>\n' >"$dir/empty.xml"
check "no tests" "0 0 0 0" "$(junit_summary "$dir/empty.xml")"
check "failed names" "b" "$(junit_failed_names "$dir/results.xml")"
sed 's/name="c" classname="c" time="0.1" status="run"/name="c" classname="c" time="0.1" status="fail"/' \
  "$dir/results.xml" >"$dir/two.xml"
check "two failed names" "b, c" "$(junit_failed_names "$dir/two.xml")"
check "no failed names" "" "$(junit_failed_names "$dir/empty.xml")"

verdict() {
  if wine_skip_accepted "$1" "$2"; then echo accepted; else echo refused; fi
}
check "win32, no 32-bit code" accepted "$(verdict win32 'this machine runs no 32-bit code')"
check "win32, the switch" accepted \
  "$(verdict win32 'this machine runs no 32-bit code (OV_WINE_NO_32BIT=1)')"
check "win64, no 32-bit code" refused "$(verdict win64 'this machine runs no 32-bit code')"
check "win32, another reason" refused "$(verdict win32 'Xvfb is not installed')"
check "win32, no reason" refused "$(verdict win32 'no reason given')"
if ov_wine_installed; then
  check "Wine installed, yet said missing" refused "$(verdict win64 'Wine is not installed')"
fi
check "no Wine at all" accepted "$(PATH=/nonexistent verdict win64 'Wine is not installed')"
exit $errors
