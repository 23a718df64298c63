#!/usr/bin/env bash
# Runs ./test.sh on a clean clone of this tree's committed state inside a
# fresh minimal root of a supported Debian release, made with debootstrap
# from the archive this machine's apt uses: what a new user of that release
# meets. Too slow for .ci/run; run it before a release or a change of the
# build.
# Usage: tools/check-debian.sh 12|13 [ROOT]   (ROOT: /var/tmp/zl-debian-N)
# A ROOT that holds a system already is used again: only the clone is new.
set -euo pipefail

case "${1:-}" in
  12) suite=bookworm ;;
  13) suite=trixie ;;
  *)
    echo "usage: $0 12|13 [ROOT]" >&2
    exit 2
    ;;
esac
release=$1
root=${2:-/var/tmp/zl-debian-$release}
tree=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# The archive this machine's apt takes its packages from.
mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | head -n 1)
[ -n "$mirror" ] || mirror=$(sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) .*/\2/p' /etc/apt/sources.list 2>/dev/null | head -n 1)
[ -n "$mirror" ] || { echo "no Debian archive found in apt's sources" >&2; exit 1; }

command -v debootstrap >/dev/null || $sudo apt-get install -y debootstrap
if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "== debootstrap $suite into $root =="
  $sudo debootstrap --variant=minbase --include=ca-certificates,git,sudo "$suite" "$root" "$mirror"
fi

cleanup() {
  for mount in dev/pts dev sys proc tmp; do $sudo umount -l "$root/$mount" 2>/dev/null || true; done
}
trap cleanup EXIT
$sudo mount -t proc proc "$root/proc"
$sudo mount --rbind /sys "$root/sys"
$sudo mount --rbind /dev "$root/dev"
$sudo mount -t tmpfs tmpfs "$root/tmp"
$sudo cp /etc/resolv.conf "$root/etc/resolv.conf"

# A package installed by hand in a root kept from an earlier run would
# answer the desktop test's questions in place of the tree's program.
if $sudo chroot "$root" dpkg-query -W zelvo-lingotak >/dev/null 2>&1; then
  $sudo chroot "$root" dpkg --purge zelvo-lingotak >/dev/null
fi
$sudo rm -rf "$root/work/zelvo-lingotak"
$sudo mkdir -p "$root/work"
$sudo git clone --quiet "$tree" "$root/work/zelvo-lingotak"
echo "== Debian $release ($suite): ./test.sh on $(git -C "$tree" rev-parse --short HEAD) =="
start=$(date +%s)
$sudo chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  /bin/bash -c 'cd /work/zelvo-lingotak && ./test.sh'
echo "== Debian $release: ./test.sh passed in $(($(date +%s) - start)) s =="
