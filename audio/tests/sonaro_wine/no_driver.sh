#!/bin/bash
# The shipped sonaro.exe on a PC without the virtual audio device: it ends with -1 and leaves
# the default playback device, the Sound Mapper values and the policy object alone.
# Arguments: sonaro.exe, sonaro_probe.exe, policy_stub.dll.
. "$(dirname "$0")/common.sh"
SONARO=$1 PROBE=$2
use_sound_devices
register_policy_stub "$3"
card=$(endpoint_id "Out: card")
[[ -n $card ]] || fail "no endpoint for the card"
wine reg add "$WINE_DRIVER_KEY" /v DefaultOutput /d "$card" /f >/dev/null

for version in win7 winxp; do
  wine reg add 'HKCU\Software\Wine\AppDefaults\sonaro.exe' /v Version /d $version /f >/dev/null
  wine "$SONARO"
  rc=$?
  ((rc == 255)) || fail "$version: exit code $rc, expected -1 (255)"
  [[ $(reg_value "$WINE_DRIVER_KEY" DefaultOutput) == "$card" ]] ||
    fail "$version: the default endpoint changed"
  wine reg query "$SOUND_MAPPER_KEY" >/dev/null 2>&1 && fail "$version: Sound Mapper key written"
done
[[ $(default_endpoint) == "Out: card" ]] || fail "default is $(default_endpoint)"
[[ -z $(policy_calls) ]] || fail "the policy object was called: $(policy_calls)"
finish
