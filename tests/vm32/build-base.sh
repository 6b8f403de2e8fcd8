#!/usr/bin/env bash
# Builds the base disk of the test machine into OUT: a Debian amd64 system
# with i386 multiarch, 32-bit and 64-bit Wine, Xvfb, xdotool and Python, all
# from the Debian archive this machine's apt is configured with; its kernel
# and initrd come from the guest's own packages.
#
# Only the release suite and its -updates feed the guest, never the security
# suite: a test machine without a network needs no security updates, and
# within a release's own suites the amd64 and i386 twins of a library stay at
# one version, which multiarch (wine32:i386) needs.
#
#   build-base.sh OUT     writes OUT/rootfs.img, OUT/vmlinuz, OUT/initrd.img,
#                         and OUT/packages.txt (every package with its version,
#                         so that two images can be compared)
#
# Runs as root (debootstrap, chroot). Each step's output goes to OUT/build.log;
# a failing step ends the script with one line naming it:
#   vm32: image build failed: <step>: <the step's last message>
set -euo pipefail

out=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$out/root
log=$out/build.log
mkdir -p "$out"
: >"$log"
# The screen, for the few lines that are shown as well as logged.
exec 3>&2

# Software inside the guest: what the Win32 tests and scenarios use.
packages=(
  linux-image-amd64 initramfs-tools
  wine wine64 wine32:i386 libc6:i386 fonts-wine
  xvfb xdotool x11-utils imagemagick python3 attr
)
# Sparse: the prefixes and every scenario's copy land on it later.
disk_size=14G

fail() {
  local why
  why=$(grep -v '^\s*$' "$log" | tail -n 1 || true)
  echo "vm32: image build failed: $1${why:+: $why}"
  exit 1
}

step() {
  local name=$1
  shift
  echo "vm32: $name" >&2
  echo "== $name" >>"$log"
  "$@" >>"$log" 2>&1 </dev/null || fail "$name"
}

mounts=()
unmount_all() {
  local m
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null || true; done
  mounts=()
}
trap unmount_all EXIT

in_root() {
  DEBIAN_FRONTEND=noninteractive LC_ALL=C chroot "$root" "$@"
}

# The Debian archive lines of this machine's apt sources (one-line and
# deb822 files) for its release and that release's -updates suite, as
# "URI SUITE" lines; the first is the release itself.
debian_sources() {
  python3 - "$1" <<'EOF'
import glob, sys
codename = sys.argv[1]
found = []
for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
    try:
        lines = open(path).read().splitlines()
    except OSError:
        continue
    for line in lines:
        words = line.split("#")[0].split()
        if len(words) >= 4 and words[0] == "deb":
            words = words[1:]
            if words[0].startswith("["):
                while words and not words[0].endswith("]"):
                    words = words[1:]
                words = words[1:]
            if len(words) >= 3 and "main" in words[2:]:
                found.append((words[0], words[1]))
for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
    for block in open(path).read().split("\n\n"):
        fields = {}
        for line in block.splitlines():
            if line.strip() and not line.startswith(("#", " ", "\t")):
                key, _, value = line.partition(":")
                fields[key.strip().lower()] = value.strip()
        if "deb" not in fields.get("types", "").split() or fields.get("enabled") == "no":
            continue
        if "main" not in fields.get("components", "").split():
            continue
        for uri in fields.get("uris", "").split():
            for suite in fields.get("suites", "").split():
                found.append((uri, suite))
ours = [(u, s) for u, s in found if s in (codename, codename + "-updates")]
ours.sort(key=lambda e: e[1] != codename)
for uri, suite in ours:
    print(uri, suite)
EOF
}

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || { echo "vm32: image build failed: apt sources: no release name in /etc/os-release"; exit 1; }
sources=$(debian_sources "$codename")
mirror=$(echo "$sources" | awk -v s="$codename" '$2 == s { print $1; exit }')
[ -n "$mirror" ] || { echo "vm32: image build failed: apt sources: no '$codename main' entry in this machine's apt sources"; exit 1; }
# A proxy apt uses serves debootstrap too.
eval "$(apt-config shell http_proxy Acquire::http::Proxy)"
[ -n "${http_proxy:-}" ] && export http_proxy

rm -rf "$root"
step "debootstrap $codename from $mirror" debootstrap --arch=amd64 --variant=minbase \
  --include=kmod,udev,procps,ca-certificates,util-linux "$codename" "$root" "$mirror"

configure_apt() {
  # No service starts inside the chroot.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  echo "$sources" | awk '{ print "deb " $1 " " $2 " main" }' >"$root/etc/apt/sources.list"
  # The host's settings for reaching its archive (proxy, snapshot dates);
  # fragments that run hooks stay behind.
  local f
  for f in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    [ -f "$f" ] || continue
    if grep -q 'Acquire' "$f" && ! grep -q 'Invoke' "$f"; then
      cp "$f" "$root/etc/apt/apt.conf.d/"
    fi
  done
  in_root dpkg --add-architecture i386
}
step "apt configuration" configure_apt

mount_chroot() {
  mount -t proc proc "$root/proc" && mounts+=("$root/proc")
  mount --rbind /sys "$root/sys" && mounts+=("$root/sys")
  mount --rbind /dev "$root/dev" && mounts+=("$root/dev")
}
step "chroot mounts" mount_chroot
# A mirror in mid-sync fails an index now and then: three tries a few seconds
# apart, then the install goes on with the lists apt has, and the one line
# that names the failed index is in the build log and on the screen.
apt_update() {
  local try
  for try in 1 2 3; do
    in_root apt-get update && return 0
    [ "$try" -lt 3 ] && sleep 4
  done
  local failed
  failed=$(grep '^[EW]: Failed to fetch' "$log" | tail -n 1 | sed 's/^[EW]: Failed to fetch *//; s/  */ /g')
  echo "vm32: apt-get update failed 3 times${failed:+ on $failed}; going on with the package lists apt has" | tee /dev/fd/3
}
step "apt-get update" apt_update
# The i386 packages' maintainer scripts cannot run here (this kernel refuses
# 32-bit programs); the one that fails does no harm and runs again at the
# first boot (dpkg --configure -a).
step "package install" in_root apt-get install -y --no-install-recommends "${packages[@]}"
unmount_all

# What is in the image, with versions: two images with the same hash hold the
# same packages.
list_packages() {
  in_root dpkg-query -W -f='${Package}:${Architecture} ${Version}\n' | LC_ALL=C sort >"$out/packages.txt"
  local n sum
  n=$(wc -l <"$out/packages.txt")
  sum=$(sha256sum "$out/packages.txt" | cut -c1-16)
  echo "vm32: image packages: $n, sha256 $sum ($out/packages.txt)" | tee /dev/fd/3
}
step "package list" list_packages

slim() {
  in_root apt-get clean
  rm -rf "$root"/var/lib/apt/lists/* "$root"/usr/share/doc/* "$root"/usr/share/man/* \
         "$root"/usr/share/info/*
  find "$root/usr/share/locale" -mindepth 1 -maxdepth 1 ! -name 'C*' -exec rm -rf {} +
  install -m 0755 "$here/guest-init" "$root/sbin/pellion-init"
  echo pellion-vm >"$root/etc/hostname"
  cp -L "$root/vmlinuz" "$out/vmlinuz"
  cp -L "$root/initrd.img" "$out/initrd.img"
}
step "kernel, init and clean-up" slim
rm -f "$out/rootfs.img"
step "file system image" mkfs.ext4 -q -F -L pellion -d "$root" "$out/rootfs.img" "$disk_size"
rm -rf "$root"
