# Which Wine prefixes this machine can run: sourced by the Wine runner, the test command and the
# main job, so all three give the same answer and the same reason.
#
# Debian installs both loaders beside each other; its `wine` wrapper picks the 32-bit one whenever
# the file exists, even where the kernel cannot run it, so callers name the loader themselves.
# OV_WINE_NO_32BIT=1 makes a machine that runs 32-bit code act as one that does not.

readonly ov_wine_no_32bit_reason='this machine runs no 32-bit code'

ov_wine_installed() {
  command -v wine >/dev/null && command -v wineserver >/dev/null
}

# The loader of a prefix architecture (win32 or win64).
ov_wine_loader() {
  case $1 in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
  esac
}

# Succeeds when a prefix of architecture $1 can run here; otherwise prints why not.
ov_wine_arch_unavailable() {
  local arch=$1 loader output
  loader=$(ov_wine_loader "$arch")
  if ! ov_wine_installed; then
    echo 'Wine is not installed'
    return 0
  fi
  if [[ ! -e $loader ]]; then
    echo "the $arch Wine loader $loader is not installed"
    return 0
  fi
  if [[ $arch == win32 && ${OV_WINE_NO_32BIT:-0} == 1 ]]; then
    echo "$ov_wine_no_32bit_reason (OV_WINE_NO_32BIT=1)"
    return 0
  fi
  output=$("$loader" --version 2>&1) && return 1
  if [[ $output == *"Exec format error"* ]]; then
    echo "$ov_wine_no_32bit_reason"
  else
    echo "the $arch Wine loader does not start: $output"
  fi
}
