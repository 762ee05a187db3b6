# Shared by the OmvoSetup Wine tests (sourced): recording stand-ins, the expected command lines
# and one launcher run compared with them. Needs OV_DRIVE_C (drive C: of the prefix in use).

readonly windows='C:\windows'
readonly media_key='HKLM\SOFTWARE\Microsoft\Windows Media Player NSS\3.0\DeviceShims\Velquor Technologies, Inc.\Kestrova\1.0'
export OV_RECORD_FILE='C:\record.txt'

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# netsh and sc run with the Windows directory as working folder, where the shell finds a
# program before the system's own tools.
install_command_recorders() {
  cp "$1" "$OV_DRIVE_C/windows/netsh.exe"
  cp "$1" "$OV_DRIVE_C/windows/sc.exe"
}

# Runs the launcher from C:\launch and compares the recorded lines with the expected ones.
run_launcher() {
  local name=$1 expected=$2 record=$OV_DRIVE_C/record.txt
  rm -f "$record"
  (cd "$OV_DRIVE_C/launch" && wine OmvoSetup.exe)
  local rc=$?
  ((rc == 0)) || fail "$name: exit code $rc"
  local actual=
  [[ -f $record ]] && actual=$(tr -d '\r' <"$record")
  if [[ $actual != "$expected" ]]; then
    fail "$name: recorded command lines differ"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") >&2
  else
    echo "ok: $name ($(printf '%s\n' "$expected" | grep -c .) lines)"
  fi
  [[ -n $actual ]] && printf '%s\n' "$actual" | sed 's/^/    /'
  return 0
}

line() { printf '%s\t%s\t%s\n' "$1" "$2" "$3"; }

readonly product='C:\windows\ZYN\Skyrow.exe'
readonly set_rule='advfirewall firewall set rule name='
readonly public_on=' profile=public new enable=yes'
readonly wmp='"Windows Media Player Network Sharing Service ('

windows7_commands() {
  line netsh.exe "$windows" "advfirewall firewall add rule name=Skyrow dir=in action=allow protocol=TCP program=$product enable=yes"
  line netsh.exe "$windows" "advfirewall firewall add rule name=Skyrow dir=in action=allow protocol=UDP program=$product enable=yes"
  line netsh.exe "$windows" "${set_rule}\"Network Discovery (SSDP-In)\" profile=domain,public new enable=yes"
  line netsh.exe "$windows" "${set_rule}\"Network Discovery (UPnP-In)\"$public_on"
  line sc.exe "$windows" 'config SSDPSRV start= auto'
  local rule
  for rule in UPnP-In UDP-In TCP-In Streaming-UDP-In SSDP-In qWave-UDP-In qWave-TCP-In HTTP-Streaming-In; do
    line netsh.exe "$windows" "${set_rule}${wmp}${rule})\"$public_on"
  done
  line netsh.exe "$windows" "${set_rule}\"Windows Media Player (UDP-In)\"$public_on"
}

vista_commands() {
  line netsh.exe "$windows" "advfirewall firewall add rule name= Skyrow dir=in action=allow program= $product enable=yes"
  line netsh.exe "$windows" 'advfirewall firewall set rule group="Network Discovery" new enable=yes'
}

xp_commands() {
  line netsh.exe "$windows" "firewall add allowedprogram program = $product name = Skyrow mode = ENABLE"
}
