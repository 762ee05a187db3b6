#!/bin/bash
# Real device removal: root-enumerated fake devices of the media class.
. "$(dirname "$0")/common.sh"
install_tool

exact=$(wine "$FAKE_DEVICE" create Media '*VQVADSimple' | tr -d '\r') || fail "cannot create device"
suffix=$(wine "$FAKE_DEVICE" create Media 'ROOT\VQVADSimple' | tr -d '\r') || fail "cannot create"
other=$(wine "$FAKE_DEVICE" create Media 'ROOT\OtherAudio' | tr -d '\r') || fail "cannot create"
display=$(wine "$FAKE_DEVICE" create Display '*VQVADSimple' | tr -d '\r') || fail "cannot create"
echo "made: $exact $suffix $other $display"

report=$(run_tool -O 8 -S)
expect_line "$report" "exit=0"
printf '%s\n' "$report"
media=$(wine "$FAKE_DEVICE" list Media | tr -d '\r' | cut -f1)
[ "$media" = "$other" ] || fail "media devices left: [$media], expected only [$other]"
displays=$(wine "$FAKE_DEVICE" list Display | tr -d '\r' | cut -f1)
printf '%s\n' "$displays" | grep -qxF "$display" || fail "the display device must stay"
finish
