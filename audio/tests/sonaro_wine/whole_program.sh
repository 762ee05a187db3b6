#!/bin/bash
# The whole program with only the driver simulated, on Windows 7 and Vista (Core Audio and the
# 6.1 and 6.0 policy objects) and Windows XP (the Sound Mapper values, first run).
# Arguments: sonaro_simdriver.exe, sonaro_probe.exe, policy_stub.dll.
. "$(dirname "$0")/common.sh"
SONARO=$1 PROBE=$2
program=$(basename "$SONARO")
use_sound_devices
register_policy_stub "$3"
card=$(endpoint_id "Out: card")
virtual=$(endpoint_id "Out: Velquor Kestrova Audio")
echo "endpoints: card $card, virtual $virtual"
[[ -n $card && -n $virtual ]] || fail "the two ALSA devices are not endpoints"
wine reg add "$WINE_DRIVER_KEY" /v DefaultOutput /d "$card" /f >/dev/null

# --- Windows 7 ---
wine "$SONARO" &
sonaro=$!
frame=$(wine "$PROBE" frame 30 | tr -d '\r')
echo "$frame"
[[ $frame == "frame title=sonaro marker=1 visible=0" ]] || fail "frame: $frame"
during=$(default_endpoint)
echo "default while running: $during"
[[ $during == "Out: Velquor Kestrova Audio" ]] || fail "default while running: $during"
calls=$(policy_calls)
[[ $calls == "policy stand-in: variant 6.1 method 13 SetDefaultEndpoint(\"$virtual\", 0)" ]] ||
  fail "policy calls at start-up: $calls"

wine "$PROBE" send EnableLocalSound || fail "EnableLocalSound not delivered"
sleep 3
card_bytes=$(stat -c %s "$CARD_FILE" 2>/dev/null || echo 0)
virtual_bytes=$(stat -c %s "$VIRTUAL_FILE" 2>/dev/null || echo 0)
echo "sound card file: $card_bytes bytes; virtual device file: $virtual_bytes bytes"
((card_bytes > 0)) || fail "nothing reached the sound card"
python3 "$(dirname "$0")/check_frames.py" "$CARD_FILE" 1 48000 || fail "no second of the stream in order"

wine "$PROBE" send CloseSonaro || fail "CloseSonaro not delivered"
wait "$sonaro"
rc=$?
((rc == 0)) || fail "exit code $rc after CloseSonaro"
after=$(default_endpoint)
echo "default after exit: $after"
[[ $after == "Out: card" ]] || fail "default after exit: $after"
calls=$(policy_calls | tail -n +2)
[[ $calls == "policy stand-in: variant 6.1 method 13 SetDefaultEndpoint(\"$card\", 0)" ]] ||
  fail "policy calls at shutdown: $calls"
driver=$(cut -f2- "$OV_DEBUG_LOG" | grep '^sim driver: ' | tr -d '\r')
echo "$driver"
grep -q "requests query 1 map 1 confirm 1 unmap 1, device closed after unmap" <<<"$driver" ||
  fail "driver requests: $driver"

# --- Windows Vista: the 6.0 policy object ---
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d vista /f >/dev/null
before_calls=$(policy_calls | wc -l)
wine "$SONARO" &
sonaro=$!
wine "$PROBE" frame 30 >/dev/null || fail "vista: no frame"
during=$(default_endpoint)
wine "$PROBE" send CloseSonaro || fail "vista: CloseSonaro not delivered"
wait "$sonaro"
after=$(default_endpoint)
echo "vista: default while running $during, after exit $after"
[[ $during == "Out: Velquor Kestrova Audio" && $after == "Out: card" ]] ||
  fail "vista: default while running $during, after exit $after"
calls=$(policy_calls | tail -n +$((before_calls + 1)))
[[ $calls == "policy stand-in: variant 6.0 method 12 SetDefaultEndpoint(\"$virtual\", 0)
policy stand-in: variant 6.0 method 12 SetDefaultEndpoint(\"$card\", 0)" ]] ||
  fail "vista: policy calls: $calls"

# --- Windows XP, first run: no Sound Mapper key yet ---
wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d winxp /f >/dev/null
: >"$CARD_FILE"
before_calls=$(policy_calls | wc -l)
wine "$SONARO" &
sonaro=$!
wine "$PROBE" frame 30 >/dev/null || fail "winxp: no frame"
for value in PreferredOnly SetupPreferredAudioDevicesCount Playback Record; do
  echo "winxp: $value = $(reg_value "$SOUND_MAPPER_KEY" $value)"
done
[[ $(reg_value "$SOUND_MAPPER_KEY" Playback) == "Velquor Kestrova Audio" ]] ||
  fail "winxp: Playback is not the virtual device"
[[ $(reg_value "$SOUND_MAPPER_KEY" Record) == "Velquor Kestrova Audio" ]] ||
  fail "winxp: Record is not the virtual device"
[[ $(reg_value "$SOUND_MAPPER_KEY" PreferredOnly) == 0x0 ]] || fail "winxp: PreferredOnly"
wine "$PROBE" send EnableLocalSound
sleep 2
wine "$PROBE" send CloseSonaro
wait "$sonaro"
rc=$?
((rc == 0)) || fail "winxp: exit code $rc"
[[ ! -s $CARD_FILE ]] || fail "winxp: the idle program played locally"
[[ $(reg_value "$SOUND_MAPPER_KEY" Playback) == "Velquor Kestrova Audio" ]] ||
  fail "winxp: Playback after exit"
(($(policy_calls | wc -l) == before_calls)) || fail "winxp: the policy object was called"
cut -f2- "$OV_DEBUG_LOG" | grep '^sim driver: ' | tail -n 1
finish
