#!/usr/bin/env bash
# Usage (inside the runner, with --sound-device first --sound-device second): sound_devices.sh
# SOUND_CHECK_EXE
# Both named outputs are listed in order, the first is the default output, and a 16-bit 48000 Hz
# buffer played on one arrives bit for bit in that device's file and not in the other's.
set -uo pipefail
check=$1

fail() {
  echo "sound_devices: $*" >&2
  exit 1
}

# ALSA complains on standard error that there is no "default" device: expected here.
listed=$(wine "$check" list 2>/dev/null | tr -d '\r')
[[ $listed == $'Out: first\nOut: second' ]] || fail "outputs listed: $listed"

has_samples() {
  [[ -s $OV_SOUND_DIR/$1.raw ]] && wine "$check" find "$(winepath -w "$OV_SOUND_DIR/$1.raw")"
}

wine "$check" play 'Out: second' 48000 2>/dev/null || fail "playing on Out: second failed"
has_samples second || fail "second.raw does not hold the samples"
has_samples first >/dev/null 2>&1 && fail "first.raw holds samples played on the second output"

wine "$check" play '' 48000 2>/dev/null || fail "playing on the default output failed"
has_samples first || fail "the default output is not the first device"
echo "ok"
