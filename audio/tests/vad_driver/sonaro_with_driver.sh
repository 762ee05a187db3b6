#!/bin/bash
# The shipped sonaro.exe against the stand-in driver loaded in winedevice.exe: start-up maps the
# ring and makes the virtual device the default; once local sound is on, the feeder's numbered
# stream reaches the sound card's file in order; a sample-rate change is followed; "CloseSonaro",
# a WM_QUIT and a logoff each give the default back and unmap before the handle closes.
# Runs inside wine-run.sh with --sound-device card. Arguments: whole|ways-out sonaro.exe
# sonaro_probe.exe policy_stub.dll vqvad.sys vad_install.exe vad_feeder.exe vad_frame_check.exe
# "ways-out" leaves the stream out: the start-up and every way out, which hold in an emulated
# guest too, where the sound cannot keep up with real time.
. "$(dirname "$0")/../sonaro_wine/common.sh"
(($# == 8)) && [[ $1 == whole || $1 == ways-out ]] ||
  { echo "usage: $0 whole|ways-out sonaro probe policy driver install feeder check" >&2; exit 2; }
MODE=$1 SONARO=$2 PROBE=$3 POLICY=$4 DRIVER=$5 INSTALL=$6 FEEDER=$7 CHECK=$8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The runner's recording output "card" is the PC's sound card; the virtual device's endpoint is
# added beside it. Both take 16-bit samples, so a 48000 Hz stereo stream arrives bit for bit.
use_sound_devices

interface=$(wine "$INSTALL" install "$(winepath -w "$DRIVER")" | tr -d '\r') ||
  { echo "FAIL: the driver did not install" >&2; exit 1; }
echo "driver linked as $interface"
register_policy_stub "$POLICY"
card=$(endpoint_id "Out: card")
[[ -n $card ]] || fail "the sound card is not an endpoint"
wine reg add "$WINE_DRIVER_KEY" /v DefaultOutput /d "$card" /f >/dev/null

# "<sequence> <event> <pid> <status>" lines of the driver's journal for one process id.
journal_of() {
  wine "$FEEDER" journal | tr -d '\r' | awk -v pid="$1" 'NF == 4 && $3 == pid'
}
events_of() {
  journal_of "$1" | awk '{ printf "%s%s", sep, $2; sep = " " } END { print "" }'
}

wine "$SONARO" &
sonaro=$!
frame=$(wine "$PROBE" frame 30 | tr -d '\r')
echo "$frame"
[[ $frame == "frame title=sonaro marker=1 visible=0" ]] || fail "frame: $frame"
during=$(default_endpoint)
echo "default while running: $during"
[[ $during == "Out: Velquor Kestrova Audio" ]] || fail "default while running: $during"
program=$(wine "$FEEDER" journal | tr -d '\r' | awk '$2 == "query" { print $3; exit }')
echo "sonaro's process id at the driver: $program"
start_events=$(events_of "$program")
echo "driver, start-up: $start_events"
[[ $start_events == "open query map confirm" ]] || fail "start-up requests: $start_events"
journal_of "$program" | awk '$4 != "00000000" { bad = 1 } END { exit bad }' ||
  fail "a start-up request failed: $(journal_of "$program")"

if [[ $MODE == whole ]]; then
  # The stream: 3 s at 48000 Hz, a pause, then 1.5 s at 44100 Hz, changed in place, another
  # pause, then 1.5 s in 24-bit samples, a change the player follows by starting again. Local
  # sound is turned on while the first stretch plays. The card's output runs ahead of real time,
  # so its file holds the audio with silence wherever the player ran dry; the frame check skips
  # that silence.
  wine "$FEEDER" start:48000:2:16 play:3000 pause wait:1000 resume rate:44100 play:1500 pause \
    wait:1000 resume format:48000:2:24 play:1500 stop \
    >"$work/feeder.log" 2>&1 &
  feeder=$!
  sleep 0.5
  wine "$PROBE" send EnableLocalSound || fail "EnableLocalSound not delivered"
  # Halfway through each pause everything of the stretch before has been played: keep that part.
  keep_at_pause() {
    for ((i = 0; i < 100; i++)); do
      (($(grep -c '^pause' "$work/feeder.log") >= $1)) && break
      sleep 0.1
    done
    sleep 0.5
    cp "$CARD_FILE" "$2"
  }
  keep_at_pause 1 "$work/first.raw"
  keep_at_pause 2 "$work/to_second.raw"
  wait "$feeder" || fail "the feeder failed: $(cat "$work/feeder.log")"
  sleep 1
  first_size=$(stat -c %s "$work/first.raw")
  second_end=$(stat -c %s "$work/to_second.raw")
  tail -c +$((first_size + 1)) "$work/to_second.raw" >"$work/second.raw"
  tail -c +$((second_end + 1)) "$CARD_FILE" >"$work/third.raw"

  # 48000 Hz stereo arrives bit for bit. Wine's mixer does not run in real time: when it gets
  # ahead of the player, the looping buffer plays a block again or the player drops a backlog, so
  # repeats and gaps are reported, not failed. What must hold: nothing but the signal and silence,
  # one stretch of at least two blocks (100 ms) played frame after frame, and the stretch heard up
  # to its end (frame 143999) but for less than one 50 ms block (2400 frames), which the player
  # keeps until a whole block is there again, that is after the pause.
  first=$(wine "$CHECK" "$(winepath -w "$work/first.raw")" 2 16 | tr -d '\r')
  echo "first stretch (48000 Hz): $first"
  # A number from the check's line; 0 when missing (then the run-length check fails).
  field() {
    local value
    value=$(sed -n "s/.* $1 \([0-9]*\).*/\1/p" <<<"$2")
    echo "${value:-0}"
  }
  (($(field foreign "$first") == 0)) || fail "damaged frames in the first stretch: $first"
  (($(field longest_run "$first") >= 4800)) || fail "not two blocks in order: $first"
  held=$(((143999 - $(field last_number "$first") + 65536) % 65536))
  echo "frames held back at the pause: $held"
  ((held < 2400)) || fail "first stretch incomplete: $first"
  # 44100 Hz audio is resampled to the card's 48000 Hz when the buffer follows the change: over a
  # second of it is heard, and in one stretch of at least a block its frames follow each other,
  # the numbers climbing by 44100/48000 per frame (0.919; by 1 had the rate not been followed).
  second=$(wine "$CHECK" "$(winepath -w "$work/second.raw")" 2 16 | tr -d '\r')
  echo "after the rate change (44100 Hz): $second"
  (($(field audible "$second") > 48000)) || fail "too little sound after the rate change: $second"
  run=$(field resampled_run "$second")
  climb=$(($(field resampled_advance "$second") * 10000 / (run > 1 ? run - 1 : 1)))
  echo "resampled: $run frames in order, climbing $climb/10000 per frame"
  ((run >= 2400)) || fail "not a block of the resampled stream in order: $second"
  ((climb >= 9000 && climb <= 9380)) || fail "the stream does not climb at 44100/48000: $second"
  # 24-bit frames reach the 16-bit card as their top 16 bits: numbered frames whose number climbs
  # by 1/256 per frame. Played on in the old 16-bit buffer, the bytes would be noise.
  third=$(wine "$CHECK" "$(winepath -w "$work/third.raw")" 2 16 | tr -d '\r')
  echo "after the change to 24 bits: $third"
  run=$(field resampled_run "$third")
  climb=$(($(field resampled_advance "$third") * 10000 / (run > 1 ? run - 1 : 1)))
  echo "24 bits: $run frames in order, climbing $climb/10000 per frame"
  ((run >= 2400)) || fail "not a block of the 24-bit stream in order: $third"
  ((climb >= 30 && climb <= 50)) || fail "the 24-bit stream does not climb at 1/256: $third"
fi
wine "$PROBE" send CloseSonaro || fail "CloseSonaro not delivered"
wait "$sonaro"
rc=$?
((rc == 0)) || fail "exit code $rc after CloseSonaro"
after=$(default_endpoint)
echo "default after exit: $after"
[[ $after == "Out: card" ]] || fail "default after exit: $after"
for ((i = 0; i < 50; i++)); do
  all_events=$(events_of "$program")
  [[ $all_events == *close ]] && break
  sleep 0.1
done
echo "driver, whole run: $all_events"
[[ $all_events == "open query map confirm unmap close" ]] || fail "requests: $all_events"

# The other ways out give the default back and unmap before the close all the same: a WM_QUIT
# posted to the frame, and a logoff, after whose WM_ENDSESSION the process is ended at once.
# Arguments: the probe's command, and the exit code it leaves where the program ends itself.
end_by() {
  wine "$SONARO" &
  local sonaro=$! rc pid events during after
  wine "$PROBE" frame 30 >/dev/null || fail "$1: no frame"
  during=$(default_endpoint)
  pid=$(wine "$FEEDER" journal | tr -d '\r' | awk '$2 == "query" { p = $3 } END { print p }')
  wine "$PROBE" "$1" || fail "$1 not delivered"
  wait "$sonaro"
  rc=$?
  after=$(default_endpoint)
  for ((i = 0; i < 50; i++)); do
    events=$(events_of "$pid")
    [[ $events == *close ]] && break
    sleep 0.1
  done
  echo "$1: default while running $during, after $after; exit code $rc; driver: $events"
  [[ $during == "Out: Velquor Kestrova Audio" ]] || fail "$1: default while running: $during"
  [[ $after == "Out: card" ]] || fail "$1: default after the end: $after"
  [[ -z ${2-} ]] || ((rc == $2)) || fail "$1: exit code $rc"
  [[ $events == "open query map confirm unmap close" ]] || fail "$1: requests: $events"
}
end_by quit 0
end_by logoff  # ended from outside: Wine's launcher does not pass the code on
finish
