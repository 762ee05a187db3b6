#!/usr/bin/env bash
# A device that one fake_device process creates is listed by the next and removed by a third;
# afterwards no process lists it, and removing it again fails.
# Usage: fake_device_across_processes.sh <fake_device.exe>   (inside wine-run.sh's environment)
set -euo pipefail
tool=$1

run() { wine "$tool" "$@" | tr -d '\r'; }
fail() { echo "fake_device_across_processes: $*" >&2; exit 1; }

id=$(run create Media 'OV\TOOLCHECK' '*OVToolCheck')
[[ $id == ROOT\\* ]] || fail "create printed '$id'"
run create Media 'OV\TOOLOTHER' >/dev/null

listed=$(run list Media)
grep -qxF "$id	OV\\TOOLCHECK;*OVToolCheck" <<<"$listed" || fail "list shows: $listed"
grep -qF 'OV\TOOLOTHER' <<<"$listed" || fail "second device missing: $listed"

run remove "$id" || fail "remove $id failed"
listed=$(run list Media)
! grep -qF "$id	" <<<"$listed" || fail "removed device still listed: $listed"
grep -qF 'OV\TOOLOTHER' <<<"$listed" || fail "the other device went too: $listed"
if run remove "$id" 2>/dev/null; then fail "removing $id twice succeeded"; fi

[[ -z $(run list OvNoSuchClass) ]] || fail "an unknown class has devices"
if run create OvNoSuchClass 'OV\X' 2>/dev/null; then fail "created a device of an unknown class"; fi
echo "fake_device_across_processes: ok"
