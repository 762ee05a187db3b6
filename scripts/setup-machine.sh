#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine. Safe to run again.
# Wine comes in a step of its own: where it cannot be installed, the build goes on and the
# Wine tests report themselves as skipped.
set -euo pipefail

build_packages=(
  cmake ninja-build g++ pkg-config file clang-format-14
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  gcc-mingw-w64-i686-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 mingw-w64-tools
  libz-mingw-w64-dev zlib1g-dev
  libjpeg62-turbo-dev libturbojpeg0-dev libjpeg-turbo-progs
  libclang-rt-14-dev clang-14
  libwine-dev xvfb x11-apps x11-utils imagemagick ffmpeg libcairo2-dev xdotool python3
  fonts-wqy-microhei  # CJK letters in Wine's menus, as a Chinese system shows them
)
wine_packages=(wine wine32:i386 wine64
  libgl1-mesa-dri:amd64 libglx-mesa0:amd64 libgl1:amd64)  # Mesa software GL: Direct3D 10 on Xvfb

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

mapfile -t missing_build < <(missing "${build_packages[@]}")
mapfile -t missing_wine < <(missing "${wine_packages[@]}")
[ ${#missing_build[@]} -eq 0 ] && [ ${#missing_wine[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing_wine[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 || echo "setup: no i386 architecture; Wine tests will be skipped" >&2
fi
# A mirror caught mid-sync fails one index (seen: the security suite's i386 list): the rest are
# still read, and the packages come from them.
apt-get update -qq || echo "setup: some package lists could not be updated; going on with the rest" >&2
if [ ${#missing_build[@]} -gt 0 ]; then
  apt-get install -y -qq --no-install-recommends "${missing_build[@]}" >/dev/null
fi
if [ ${#missing_wine[@]} -gt 0 ]; then
  # Where the 32-bit packages cannot be had, the 64-bit Wine alone still runs the win64 tests.
  apt-get install -y -qq --no-install-recommends "${missing_wine[@]}" >/dev/null ||
    apt-get install -y -qq --no-install-recommends $(printf '%s\n' "${missing_wine[@]}" |
      grep -v ':i386$') >/dev/null ||
    echo "setup: Wine could not be installed; Wine tests will be skipped" >&2
fi
