# Shared by the Wine tests of sonaro.exe; sourced by each. Runs inside wine-run.sh's prefix.
set -uo pipefail

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

WINE_DRIVER_KEY='HKCU\Software\Wine\Drivers\winealsa.drv'
SOUND_MAPPER_KEY='HKCU\Software\Microsoft\Multimedia\Sound Mapper'

# Beside the runner's recording output "card" (the PC's own sound card), a second one named as
# the virtual audio device's endpoint, which the runner's names cannot be (they hold no spaces).
use_sound_devices() {
  CARD_FILE=$OV_SOUND_DIR/card.raw
  VIRTUAL_FILE=$OV_SOUND_DIR/virtual.raw
  printf 'pcm."Velquor Kestrova Audio" { type file file "%s" format "raw"\n' "$VIRTUAL_FILE" \
    >>"$ALSA_CONFIG_PATH"
  printf '  slave.pcm { type linear slave { pcm { type null } format S16_LE } } }\n' \
    >>"$ALSA_CONFIG_PATH"
  wine reg add "$WINE_DRIVER_KEY" /v ALSAOutputDevices /t REG_MULTI_SZ \
    /d 'card\0Velquor Kestrova Audio' /f >/dev/null
}

# The value of a registry value as `reg query` prints it, or nothing when it is missing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '
    index($0, "    " name "    ") == 1 { sub("^    " name "    [A-Z_]+    ", ""); print }'
}

# The endpoint id of the render endpoint with that friendly name.
endpoint_id() {
  wine "$PROBE" endpoints | tr -d '\r' | awk -v name="$1" '
    $1 == "endpoint" && substr($0, index($0, "name=") + 5) == name { print $2 }'
}

default_endpoint() {
  wine "$PROBE" endpoints | tr -d '\r' | sed -n 's/^default name=//p'
}

# Lines the stand-in policy object wrote to the debugger output.
policy_calls() {
  cut -f2- "$OV_DEBUG_LOG" | grep '^policy stand-in: ' || true
}

register_policy_stub() {
  wine regsvr32 /s "$(winepath -w "$1")" || fail "regsvr32 of the policy stand-in failed"
}
