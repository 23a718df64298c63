#!/usr/bin/env bash
# The Debian package made by CPack from a build: lintian finds no error in
# it, its dependencies were computed from the program, its desktop entry and
# AppStream record pass their validators, its MIME types name KVTML files
# and Anki packages and the import's entry is offered for them, the
# converter unpacked from it helps and converts, and the program unpacked
# from it (dpkg-deb -x) starts in a virtual X server and shows the sample
# file.
# Usage: package_test.sh BUILD-FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
fail() { echo "$*"; exit 1; }

if [ "${2:-}" != "--inside-x" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cpack --config "$1/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
  deb=$(echo "$work"/*.deb)
  echo "made $(basename "$deb")"
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependencies computed: $(dpkg-deb -f "$deb" Depends)"
  dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation' || fail "the package does not bring the window's font"
  lintian --fail-on error "$deb" || fail "lintian found errors"
  echo "lintian: no errors"
  root="$work/root"
  dpkg-deb -x "$deb" "$root"
  desktop-file-validate "$root/usr/share/applications/zelvo-lingotak.desktop"
  desktop-file-validate "$root/usr/share/applications/zelvo-lingotak-import.desktop"
  # What dpkg's triggers do on installing, then the desktop's view of it
  # alone: the package's types and applications, the system's base types.
  XDG_DATA_DIRS="$root/usr/share" update-mime-database "$root/usr/share/mime"
  update-desktop-database "$root/usr/share/applications"
  kinds="$work/kinds"
  mkdir "$kinds"
  printf '<?xml version="1.0"?>\n<kvtml version="2.0"/>\n' >"$kinds/x.kvtml"
  { printf 'PK\005\006'; head -c 18 /dev/zero; } >"$kinds/x.apkg"  # an empty ZIP archive
  cp "$kinds/x.apkg" "$kinds/x.colpkg"
  for kind in kvtml:application/x-kvtml apkg:application/x-apkg colpkg:application/x-colpkg; do
    file="$kinds/x.${kind%%:*}"
    type=$(XDG_DATA_DIRS="$root/usr/share:/usr/share" XDG_DATA_HOME="$kinds" XDG_CONFIG_HOME="$kinds" \
      xdg-mime query filetype "$file")
    [ "$type" = "${kind#*:}" ] || fail "the package's MIME types make $(basename "$file") $type"
    offered=$(XDG_DATA_DIRS="$root/usr/share" XDG_DATA_HOME="$kinds" XDG_CONFIG_HOME="$kinds" \
      PATH="$root/usr/bin:$PATH" gio mime "$type" || true)
    grep -qx $'\tzelvo-lingotak-import.desktop' <<<"$offered" || fail "the import is not offered for $type: $offered"
  done
  echo "the package's MIME types name KVTML files and Anki packages, and the import is offered for them"
  # Each program has an English page and a German one, and each names the other.
  for page in man1/zelvo-lingotak man1/zelvo-lingotak-convert de/man1/zelvo-lingotak de/man1/zelvo-lingotak-convert; do
    text=$(zcat "$root/usr/share/man/$page.1.gz") || fail "no manual page $page"
    other=zelvo-lingotak-convert
    [ "${page%-convert}" = "$page" ] || other=zelvo-lingotak
    grep -q "^\.BR $other (1)" <<<"$text" || fail "$page does not name $other"
  done
  zcat "$root/usr/share/man/man1/zelvo-lingotak-convert.1.gz" | grep -q '^\.SH DESCRIPTION' ||
    fail "the converter's page under man1 is not English"
  zcat "$root/usr/share/man/de/man1/zelvo-lingotak.1.gz" | grep -q '^\.SH BESCHREIBUNG' ||
    fail "the trainer's page under de/man1 is not German"
  "$root/usr/bin/zelvo-lingotak-convert" --help | grep -q '^Aufruf: zelvo-lingotak-convert' ||
    fail "the packaged converter gives no help"
  "$root/usr/bin/zelvo-lingotak-convert" "$root/usr/share/doc/zelvo-lingotak/examples/englisch.ltk" "$work/e.csv"
  echo "the packaged converter converts"
  appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
  mkdir -m 700 "$work/run"
  export HOME="$work" XDG_RUNTIME_DIR="$work/run" WORK="$work"
  timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$root" --inside-x
  echo "package test passed"
  exit 0
fi

source "$here/window_steps.sh"
sample="$1/usr/share/doc/zelvo-lingotak/examples/englisch.ltk"
cp "$sample" "$WORK/before.ltk"
"$1/usr/bin/zelvo-lingotak" "$sample" &
program=$!
window=$(window_of '^Zelvo Lingotak$')
sleep 1
add_pair_and_save "$window" "$sample" "$WORK/before.ltk"
echo "the unpacked program shows the sample file"
kill "$program"
wait "$program" || true
