#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# when they are missing. Uses sudo when not run as root.
# Usage: scripts/install-deps.sh [bench]   (bench: also what bench/run.sh needs)
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-translations-l10n
  libgtest-dev libbenchmark-dev
  clang libclang-rt-dev
  fonts-liberation
  xvfb xauth xdotool x11-utils imagemagick
  poppler-utils
  libsodium-dev libexpat1-dev libzip-dev libsqlite3-dev libzstd-dev minisign binutils python3
  librsvg2-bin shared-mime-info desktop-file-utils xdg-utils libfile-mimeinfo-perl libglib2.0-bin
  appstream lintian dpkg-dev
  exfat-fuse exfatprogs ntfs-3g dosfstools fusefat
)

if [ "${1:-}" = bench ]; then
  packages+=(trans-de-en hyperfine curl unzip sqlite3 zstd)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
