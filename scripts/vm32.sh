#!/usr/bin/env bash
# Runs the shipped 32-bit Windows programs where this machine's kernel runs no 32-bit code: a
# Debian guest in a full-system emulator (software emulation; KVM when /dev/kvm is usable) runs
# 32-bit Wine.
#
# Usage:
#   vm32.sh image
#       Builds the guest once from Debian's packages: kernel, initrd, a root file system image with
#       32-bit and 64-bit Wine, Xvfb, ImageMagick, x11-utils and CTest, and made 32-bit and 64-bit
#       prefixes. A second call reuses it. Needs root (debootstrap, chroot).
#   vm32.sh ready
#       Succeeds when the guest is built and current.
#   vm32.sh run [--timeout S] [--exclude PATTERN]... [--win32-checkout] DIR -- COMMAND [ARGS...]
#       Boots the guest, copies DIR (less what matches an --exclude, a tar pattern, and with
#       --win32-checkout, where DIR is this repository with its builds, less what the 32-bit
#       build's tests never use: git's data, the host and 64-bit builds, objects) to the same
#       absolute path on the guest's own disk, runs COMMAND there with DIR as working directory,
#       copies DIR/out back to the host and exits with COMMAND's status (124: it ran past S
#       seconds, default 1800; 125: the guest failed). The guest always ends: it powers itself
#       off, and the emulator is killed should it outlive the limit or this script.
#
# The guest's environment for COMMAND: `wine` is 32-bit Wine with WINEARCH=win32 and WINEPREFIX a
# fresh copy of the made 32-bit prefix; DISPLAY an Xvfb of 1280x1024x24; OV_WINE_PREFIX_SEED_win32
# and OV_WINE_PREFIX_SEED_win64 name the made prefixes (the Wine runner copies them instead of
# making its templates, which takes minutes in the guest); OV_WINE_TIME_SCALE=OV_VM32_TIME_SCALE
# (default 4) stretches the runner's time limits, as every program starts slower there.
#
# Cache: $OV_VM32_CACHE, default ${XDG_CACHE_HOME:-$HOME/.cache}/ombrivue-vm32 (outside the work
# tree: the image is about 3 GB). Guest size: OV_VM32_MEMORY_MB (default 4096, or half the
# memory available here where that is less), OV_VM32_CPUS
# (default: this machine's processors, at most 4), OV_VM32_OUT_MB (room for DIR/out, default 512).
set -euo pipefail

readonly self=vm32
readonly cache=${OV_VM32_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ombrivue-vm32}
readonly suite=bookworm
readonly mirror=${OV_VM32_MIRROR:-http://deb.debian.org/debian}
readonly guest_packages=(
  linux-image-amd64 initramfs-tools kmod procps iproute2 e2fsprogs
  wine wine32:i386 wine64 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 libgl1 libgl1-mesa-dri libglx-mesa0
  # What Wine's X11 driver loads at run time: without XRandR it sees a 1024x768 screen.
  libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
  libxcomposite1:i386 fonts-wqy-microhei
  xvfb x11-utils x11-apps xdotool imagemagick cmake python3 tar gzip
)
# Names what the image holds: a change to the packages or to the guest's start-up makes a new one.
readonly root_recipe="5 $suite ${guest_packages[*]}"

say() { echo "$self: $*" >&2; }
die() {
  say "$*"
  exit 2
}

# The guest's init, kept in its image: basic mounts, then the script that came on the job disk
# (so the guest's behaviour lives here, not in the image); it powers off whatever happens.
guest_stub() {
  cat <<'EOF'
#!/bin/bash
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mountpoint -q /proc || mount -t proc proc /proc
echo 1 >/proc/sys/kernel/sysrq
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mountpoint -q /run || mount -t tmpfs tmpfs /run
mount -o remount,rw /
mount -t tmpfs -o size=75% tmpfs /tmp
mkdir -p /run/vm32 && tar -xf /dev/vdb -C /run/vm32 && bash /run/vm32/guest.sh
sync
echo o >/proc/sysrq-trigger
exec sleep 60
EOF
}

# The guest's part of a job (mode "prefixes" or "run", from the job file beside it): writes its
# results (status, boot and run seconds, DIR/out) as a tar on the output disk.
guest_script() {
  cat <<'EOF'
state=/run/vm32
source "$state/job"
ip link set lo up
hostname vm32
read -r booted _ </proc/uptime
mkdir -p "$state/result"
echo "${booted%.*}" >"$state/result/boot-seconds"
echo "vm32: guest up after ${booted%.*} s ($(uname -r), $(wine --version 2>&1))"
status=125
start=$SECONDS
# Making a prefix takes longer than Wine's own wait for it (5 minutes) in a slow emulated guest:
# Wine then gives up waiting, but its wineboot goes on. So the prefix is done once the prefix's
# server has ended, and a program then starts in it without making it anew; each step is tried
# three times at most, and Wine's errors of the last try are shown.
make_prefix() {
  local arch=$1 loader=$2 try
  export WINEARCH=$arch WINEPREFIX=/opt/ov/prefix-$1 WINEDEBUG=err+all,fixme-all
  rm -rf "$WINEPREFIX"
  for try in 1 2 3; do
    echo "vm32: making the $arch prefix (try $try)"
    "$loader" wineboot -i >/tmp/wineboot.log 2>&1
    wineserver -w
    grep -q "^#arch=$arch" "$WINEPREFIX/system.reg" 2>/dev/null &&
      "$loader" cmd /c exit 0 >>/tmp/wineboot.log 2>&1 && wineserver -w && return 0
  done
  tail -15 /tmp/wineboot.log
  return 1
}
case $mode in
  prefixes)
    make_prefix win32 /usr/lib/wine/wine && make_prefix win64 /usr/lib/wine/wine64 &&
      wine --version >/opt/ov/prefixes-made && status=0
    ;;
  run)
    mkdir -p "$dir" && tar -xf /dev/vdc -C "$dir"
    # Prefixes are copied on the root disk (a snapshot: its writes never reach the image), not
    # into memory: a 64-bit prefix alone is 1.3 GB.
    export TMPDIR=/var/tmp/ov
    mkdir -p "$TMPDIR"
    export WINEARCH=win32 WINEPREFIX=$TMPDIR/prefix WINEDEBUG=${WINEDEBUG:--all}
    export OV_WINE_PREFIX_SEED_win32=/opt/ov/prefix-win32 OV_WINE_PREFIX_SEED_win64=/opt/ov/prefix-win64
    export OV_WINE_TIME_SCALE=$time_scale
    cp -a /opt/ov/prefix-win32 "$WINEPREFIX"
    Xvfb :99 -screen 0 1280x1024x24 +extension GLX -nolisten tcp >/tmp/xvfb.log 2>&1 &
    export DISPLAY=:99
    for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X99 ]] && break; sleep 0.1; done
    cd "$dir" && timeout -k 10 "$limit" "${command[@]}" </dev/null
    status=$?
    ((status == 124 || status == 137)) && echo "vm32: timed out after $limit s: ${command[*]}"
    [[ -d $dir/out ]] && mv "$dir/out" "$state/result/out"
    ;;
esac
echo "$status" >"$state/result/status"
echo $((SECONDS - start)) >"$state/result/run-seconds"
tar -cf /dev/vdd -C "$state/result" . || echo "vm32: the results did not fit on the output disk"
EOF
}

host_tools() {
  local missing=() tool
  for tool in qemu-system-x86_64 debootstrap mkfs.ext4; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  ((${#missing[@]} == 0)) && return 0
  ((EUID == 0)) || die "needs qemu-system-x86, debootstrap and e2fsprogs (run as root to install)"
  say "installing qemu-system-x86, debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    qemu-system-x86 debootstrap e2fsprogs >/dev/null
}

root_is_current() {
  [[ $(cat "$cache/root-recipe" 2>/dev/null) == "$root_recipe" ]]
}

image_is_current() {
  root_is_current && [[ -s $cache/prefixes-made ]]
}

# The job disk: the guest's script and its job file (shell assignments: mode, and for a run dir,
# limit, time_scale and command).
write_job() {
  mkdir -p "$work/job"
  guest_script >"$work/job/guest.sh"
  cat >"$work/job/job"
  tar -cf "$work/job.tar" -C "$work/job" guest.sh job
}

# boot_guest TIMEOUT PAYLOAD [EXTRA QEMU ARGS...]: boots the guest with the job disk and the
# payload tar, prints its console, leaves the results in $work/result. Fails when the emulator
# does.
boot_guest() {
  # With -cpu max the guest kernel oopsed on the first 32-bit program (protection keys). The
  # features turned off are those software emulation lacks (it warns about each otherwise).
  local limit=$1 payload=$2 accel=(-accel tcg,thread=multi
    -cpu Haswell-noTSX-IBRS,pcid=off,x2apic=off,tsc-deadline=off,invpcid=off,spec_ctrl=off)
  shift 2
  if [[ -r /dev/kvm && -w /dev/kvm ]]; then
    accel=(-accel kvm -cpu host)
  fi
  local cpus=${OV_VM32_CPUS:-$(nproc)} memory=${OV_VM32_MEMORY_MB:-}
  # With 3 GB, one of two Wine tests run at once was killed; with 4 GB both passed.
  if [[ -z $memory ]]; then
    memory=$(awk '/^MemAvailable:/ { print int($2 / 2048) }' /proc/meminfo)
    ((memory > 4096)) && memory=4096
  fi
  ((cpus > 4)) && cpus=4
  truncate -s "${OV_VM32_OUT_MB:-512}M" "$work/out.disk"
  # In the guest: vda the root, vdb the job, vdc the payload, vdd the results.
  timeout -k 10 "$limit" qemu-system-x86_64 "${accel[@]}" -smp "$cpus" \
    -m "$memory" -display none -no-reboot -monitor none \
    -chardev stdio,id=console,signal=off -serial chardev:console \
    -kernel "$cache/vmlinuz" -initrd "$cache/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 quiet loglevel=3 panic=-1 init=/opt/ov/init" \
    "$@" -drive "file=$work/job.tar,format=raw,if=virtio,readonly=on" \
    -drive "file=$payload,format=raw,if=virtio,readonly=on" \
    -drive "file=$work/out.disk,format=raw,if=virtio" </dev/null &
  qemu_pid=$!
  local rc=0
  wait "$qemu_pid" || rc=$?
  qemu_pid=
  mkdir -p "$work/result"
  tar -xf "$work/out.disk" -C "$work/result" 2>/dev/null || true
  return "$rc"
}

cleanup() {
  # qemu_pid is timeout's: it passes a TERM on to the emulator; a KILL would leave it running.
  [[ -n ${qemu_pid:-} ]] && kill -TERM "$qemu_pid" 2>/dev/null && wait "$qemu_pid" 2>/dev/null
  [[ -n ${chroot_root:-} ]] && unmount_chroot
  [[ -n ${work:-} ]] && rm -rf "$work"
  return 0
}

unmount_chroot() {
  local m
  for m in dev/pts dev proc sys; do
    umount -l "$chroot_root/$m" 2>/dev/null || true
  done
}

in_chroot() {
  chroot "$chroot_root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"
}

build_root() {
  chroot_root=$work/root
  say "debootstrap $suite (minbase) from $mirror"
  debootstrap --variant=minbase --arch=amd64 "$suite" "$chroot_root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log" >&2; die "debootstrap failed"; }
  mount -t proc proc "$chroot_root/proc"
  mount -t sysfs sys "$chroot_root/sys"
  mount --bind /dev "$chroot_root/dev"
  mount --bind /dev/pts "$chroot_root/dev/pts"
  printf '#!/bin/sh\nexit 101\n' >"$chroot_root/usr/sbin/policy-rc.d"
  chmod +x "$chroot_root/usr/sbin/policy-rc.d"
  # No security suite: the guest never meets the network, and a mirror whose security index for
  # one architecture lags the other's would pair packages of two versions (Multi-Arch refuses).
  cat >"$chroot_root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
EOF
  in_chroot dpkg --add-architecture i386
  say "installing Wine, Xvfb and the kernel into the guest"
  # A mirror caught mid-sync serves index files of the wrong size for a while: tried again later.
  local try
  for try in 1 2 3 4; do
    ((try == 1)) || { say "the mirror failed (try $((try - 1))); again in $((try * 30)) s"; sleep $((try * 30)); }
    {
      in_chroot apt-get -o Acquire::Retries=3 update -qq &&
        in_chroot apt-get -o Acquire::Retries=3 install -y -qq --no-install-recommends "${guest_packages[@]}"
    } >"$work/apt.log" 2>&1 && break
    ((try < 4)) || { tail -20 "$work/apt.log" >&2; die "installing the guest's packages failed"; }
  done
  in_chroot apt-get clean
  rm -rf "$chroot_root"/var/lib/apt/lists/* "$chroot_root/usr/sbin/policy-rc.d"
  unmount_chroot
  mkdir -p "$chroot_root/opt/ov"
  guest_stub >"$chroot_root/opt/ov/init"
  chmod +x "$chroot_root/opt/ov/init"
  cp "$(readlink -f "$chroot_root/vmlinuz")" "$work/vmlinuz"
  cp "$(readlink -f "$chroot_root/initrd.img")" "$work/initrd.img"
  say "packing the root file system"
  mkfs.ext4 -F -q -L ovroot -d "$chroot_root" "$work/root.img" 12G
  rm -rf "$chroot_root"
  chroot_root=
}

cmd_image() {
  (($# == 0)) || die "usage: $0 image"
  if image_is_current; then
    say "the guest is ready in $cache (made with $(cat "$cache/prefixes-made"))"
    return 0
  fi
  ((EUID == 0)) || die "building the guest needs root (debootstrap, chroot)"
  host_tools
  local start=$SECONDS root_s=0
  mkdir -p "$cache"
  work=$(mktemp -d "$cache/build.XXXXXX")
  if ! root_is_current; then
    rm -f "$cache/root-recipe" "$cache/prefixes-made"
    build_root
    mv "$work/vmlinuz" "$work/initrd.img" "$work/root.img" "$cache/"
    echo "$root_recipe" >"$cache/root-recipe"
    root_s=$((SECONDS - start))
  fi
  say "making the guest's 32-bit and 64-bit prefixes (minutes under emulation)"
  rm -f "$cache/prefixes-made"
  echo mode=prefixes | write_job
  truncate -s 10240 "$work/empty.tar"
  boot_guest 2400 "$work/empty.tar" -drive "file=$cache/root.img,format=raw,if=virtio" ||
    die "the guest did not finish making its prefixes"
  [[ $(cat "$work/result/status" 2>/dev/null) == 0 ]] || die "the guest could not make its prefixes"
  # The guest wrote its Wine version on its own disk; the host keeps a copy.
  debugfs -R "cat /opt/ov/prefixes-made" "$cache/root.img" 2>/dev/null >"$cache/prefixes-made"
  [[ -s $cache/prefixes-made ]] || die "the guest's prefixes are missing from its disk"
  say "the guest is ready in $cache: $(du -sh "$cache/root.img" | cut -f1) image" \
    "(root file system $root_s s, prefixes $(cat "$work/result/run-seconds") s, $((SECONDS - start)) s in all)"
}

cmd_run() {
  local limit=1800 excludes=()
  while (($#)); do
    case $1 in
      --timeout)
        [[ ${2:-} =~ ^[0-9]+$ ]] || die "--timeout takes seconds"
        limit=$2
        shift 2
        ;;
      --exclude)
        [[ -n ${2:-} ]] || die "--exclude takes a pattern"
        excludes+=("--exclude=$2")
        shift 2
        ;;
      --win32-checkout)
        excludes+=(--exclude=./.git --exclude='./build/host*' --exclude=./build/win64
          --exclude=./dist/win64 --exclude='*.obj' --exclude='*.a' --exclude=./docs)
        shift
        ;;
      *) break ;;
    esac
  done
  (($# >= 3)) && [[ $2 == -- ]] || die "usage: $0 run [--timeout S] [--exclude PATTERN]... [--win32-checkout] DIR -- COMMAND [ARGS...]"
  local dir
  dir=$(cd "$1" && pwd) || die "no folder $1"
  shift 2
  image_is_current || die "no guest yet: run '$0 image' first"
  host_tools
  work=$(mktemp -d "${TMPDIR:-/tmp}/ov-vm32.XXXXXX")
  {
    printf 'mode=run\ndir=%q\nlimit=%q\ntime_scale=%q\ncommand=(' "$dir" "$limit" "${OV_VM32_TIME_SCALE:-4}"
    printf '%q ' "$@"
    printf ')\n'
  } | write_job
  tar -cf "$work/dir.tar" "${excludes[@]}" --exclude=./out -C "$dir" .
  local start=$SECONDS rc=0
  # Only the root disk is a snapshot: the results disk must keep what the guest writes.
  boot_guest $((limit + 300)) "$work/dir.tar" \
    -drive "file=$cache/root.img,format=raw,if=virtio,snapshot=on" || rc=$?
  local status
  status=$(cat "$work/result/status" 2>/dev/null) || status=
  if [[ -d $work/result/out ]]; then
    mkdir -p "$dir/out"
    cp -a "$work/result/out/." "$dir/out/"
  fi
  say "boot $(cat "$work/result/boot-seconds" 2>/dev/null || echo ?) s," \
    "run $(cat "$work/result/run-seconds" 2>/dev/null || echo ?) s, $((SECONDS - start)) s in all"
  if [[ -z $status ]]; then
    ((rc == 124 || rc == 137)) && { say "timed out after $limit s"; exit 124; }
    say "the guest ended without a result (emulator exit code $rc)"
    exit 125
  fi
  exit "$status"
}

qemu_pid=
work=
chroot_root=
trap cleanup EXIT
trap 'exit 143' INT TERM
case ${1:-} in
  image) shift && cmd_image "$@" ;;
  ready) image_is_current ;;
  run) shift && cmd_run "$@" ;;
  *) die "usage: $0 image | ready | run [--timeout S] [--exclude PATTERN]... [--win32-checkout] DIR -- COMMAND [ARGS...]" ;;
esac
