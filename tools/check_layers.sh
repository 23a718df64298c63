#!/usr/bin/env bash
# Fails when a folder of the program includes a header of a folder above it.
#
# The layers, top to bottom: app/; the command folders files/ edit/ quiz/
# print/ update/ desktop/; state/; store/; platform/ (its interfaces and the
# POSIX services). A command folder uses state/, store/ and platform/ and no
# other command folder, except where ALLOWED names a header (a test saves
# its file through the file commands). The Qt window (platform/qt/) is an
# outer adapter wired by main.cpp: it shows the program's controls and list,
# so it may see state/, store/ and the layout tables of app/, and the POSIX
# services it completes (the desktop shell opens URLs through Qt); nothing
# of the program includes it. Tests, fakes, fuzz targets, benchmarks and
# main.cpp sit on top and may include anything.
#
# Usage: tools/check_layers.sh [ROOT]   (default: the source tree)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

below_commands="state store platform"
declare -A ALLOWED=(
  [platform]="platform"
  [platform/posix]="platform/posix platform"
  [store]="store platform"
  [state]="state store platform"
  [files]="files $below_commands"
  [edit]="edit $below_commands"
  [quiz]="quiz files/file_commands.h $below_commands"
  [print]="print $below_commands"
  [update]="update $below_commands"
  [desktop]="desktop $below_commands"
  [app]="app files edit quiz print update desktop $below_commands"
  [platform/qt]="platform/qt platform/posix app/window_layout.h $below_commands"
)

# The layer a file or header belongs to: its folder, with platform's
# implementations told apart from its interfaces.
layer_of() {
  case "$1" in
    platform/qt/*) echo platform/qt ;;
    platform/posix/*) echo platform/posix ;;
    platform/fake/*) echo platform/fake ;;
    */*) echo "${1%%/*}" ;;
    *) echo . ;;
  esac
}

failures=0
while IFS= read -r file; do
  file="${file#./}"
  case "$file" in
    *_test.cpp | *_fuzz.cpp | platform/fake/* | tests/* | bench/* | build*/* | main.cpp) continue ;;
  esac
  layer=$(layer_of "$file")
  allowed="${ALLOWED[$layer]:-}"
  [ -n "$allowed" ] || continue
  while IFS= read -r header; do
    target=$(layer_of "$header")
    ok=0
    for entry in $allowed; do
      if [ "$entry" = "$target" ] || [ "$entry" = "$header" ]; then ok=1; break; fi
    done
    if [ $ok -eq 0 ]; then
      echo "$file includes \"$header\": $layer may include only: $allowed"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . \( -name 'build*' -o -name '.git' \) -prune -o \( -name '*.h' -o -name '*.cpp' \) -print | sort)

if [ $failures -gt 0 ]; then
  echo "$failures include(s) against the layers"
  exit 1
fi
echo "layers: every include runs downwards"
