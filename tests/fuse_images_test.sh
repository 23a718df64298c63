#!/usr/bin/env bash
# The writing paths on the file systems of USB sticks and Windows
# partitions, each a FUSE image mounted for the test: exFAT (exfat-fuse, on
# a loop device), NTFS (ntfs-3g) and FAT32 (fusefat). On each, the core
# tests' RealFileSystem case saves, keeps backups, writes part files and
# new files, rewrites in place and installs an update; then the converter
# makes a new file, refuses to replace it, and replaces it with --force.
# With --update, the internet update end to end (update_e2e_test.sh) of a
# program kept on the exFAT image instead, where neither a link nor an
# exchange of names keeps the old program file.
# Mounting needs root and /dev/fuse: where they are missing the test is
# skipped (status 77) and says why.
# Usage: fuse_images_test.sh CORE-TESTS CONVERTER
#        fuse_images_test.sh --update PROGRAM
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

skip() {
  echo "SKIPPED: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "mounting images needs root"
{ exec 3<>/dev/fuse; } 2>/dev/null || skip "/dev/fuse cannot be opened here"
exec 3>&-
for tool in mkfs.exfat mount.exfat-fuse mkntfs ntfs-3g mkfs.vfat fusefat losetup; do
  command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d)
loop=""
cleanup() {
  for mount in "$work"/mnt-*; do [ -d "$mount" ] && { fusermount -u "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true; }; done
  [ -n "$loop" ] && losetup -d "$loop" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mount_image() {  # kind, mount point
  local image="$work/$1.img"
  truncate -s 128M "$image"
  mkdir -p "$2"
  case $1 in
    exfat)
      mkfs.exfat -q "$image" >/dev/null 2>&1 || mkfs.exfat "$image" >/dev/null
      loop=$(losetup -f --show "$image") || skip "no loop device for the exFAT image"
      mount.exfat-fuse "$loop" "$2" >/dev/null 2>&1
      ;;
    ntfs)
      mkntfs -F -q -f "$image" >/dev/null 2>&1
      ntfs-3g "$image" "$2"
      ;;
    fat32)
      mkfs.vfat -F 32 "$image" >/dev/null
      fusefat -o rw+ "$image" "$2" >/dev/null 2>&1
      ;;
  esac
}

if [ "$1" = --update ]; then
  mount_image exfat "$work/mnt-exfat"
  mkdir "$work/mnt-exfat/app"
  ZL_APP_FOLDER="$work/mnt-exfat/app" "$here/update_e2e_test.sh" "$2"
  exit 0
fi
core_tests=$1
converter=$2

printf 'house;Haus\r\ndoor;T\xc3\xbcr\r\n' >"$work/in.csv"
expected=$(printf 'house\r\nHaus\r\n0\r\n0\r\ndoor\r\nT\xfcr\r\n0\r\n0\r\n' | od -An -tx1)
for kind in exfat ntfs fat32; do
  mount="$work/mnt-$kind"
  mount_image "$kind" "$mount"
  echo "== $kind: $(stat -f -c %T "$mount")"
  mkdir "$mount/core"
  ZL_TEST_FOLDER="$mount/core" "$core_tests" --gtest_filter='RealFileSystem.*' --gtest_brief=1
  "$converter" "$work/in.csv" "$mount/list.ltk"
  [ "$(od -An -tx1 "$mount/list.ltk")" = "$expected" ] || { echo "$kind: the converted file is not as written"; exit 1; }
  if "$converter" "$work/in.csv" "$mount/list.ltk" 2>"$work/refused"; then
    echo "$kind: an existing file was replaced without --force"
    exit 1
  fi
  grep -q "gibt es schon. Mit --force" "$work/refused" || { cat "$work/refused"; exit 1; }
  printf 'a;b\r\n' >"$work/other.csv"
  "$converter" --force "$work/other.csv" "$mount/list.ltk"
  [ "$(cat "$mount/list.ltk")" = "$(printf 'a\r\nb\r\n0\r\n0\r\n')" ] || { echo "$kind: --force did not replace"; exit 1; }
  leftovers=$(find "$mount" -name '.zl-save-*')
  [ -z "$leftovers" ] || { echo "$kind: temporary files left: $leftovers"; exit 1; }
done
echo "fuse images test passed"
