#!/usr/bin/env bash
# Usage: expect_exit.sh EXPECTED COMMAND...
# Passes when COMMAND exits with EXPECTED; a skip (77) stays a skip.
expected=$1
shift
"$@"
rc=$?
((rc == 77)) && exit 77
((rc == expected)) && exit 0
echo "expected exit code $expected, got $rc" >&2
exit 1
