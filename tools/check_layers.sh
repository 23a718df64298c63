#!/usr/bin/env bash
# Fails when a file includes a header of a folder above its own, or lies in
# a folder that is no layer of this list.
#
# The program, top to bottom: app/; the command folders files/ edit/ quiz/
# print/ update/ desktop/ and the converter's convert/; state/; store/;
# platform/ (the interfaces to the
# outside world and the plain data they exchange). A command folder uses
# state/, store/ and platform/ and no other command folder, except where a
# header is named (a test saves its file through the file commands).
# Beside the program, on top of it: the POSIX adapters (posix/) implement
# platform/'s interfaces and see nothing else of the program; the Qt
# adapters (qt/) show the program's window, so they see its state, its list
# and the layout tables of app/, and complete the POSIX desktop; the test
# support (test_support/), the tests, fuzz targets, benchmarks, tools and
# main.cpp sit on top of everything and may include anything.
#
# Usage: tools/check_layers.sh [ROOT]   (default: the source tree)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

below_commands="state store platform"
declare -A ALLOWED=(
  [platform]="platform"
  [store]="store platform"
  [state]="state store platform"
  [files]="files $below_commands"
  [edit]="edit $below_commands"
  [quiz]="quiz files/file_commands.h $below_commands"
  [print]="print $below_commands"
  [update]="update $below_commands"
  [desktop]="desktop $below_commands"
  [convert]="convert store platform"
  [app]="app files edit quiz print update desktop $below_commands"
  [posix]="posix platform"
  [qt]="qt posix app/window_layout.h $below_commands"
)
# Folders on top, which may include anything.
TOP="test_support tests bench tools ."

failures=0
report() {
  echo "$1"
  failures=$((failures + 1))
}

while IFS= read -r file; do
  file="${file#./}"
  case "$file" in
    */*) layer="${file%%/*}" ;;
    *) layer=. ;;
  esac
  case " $TOP " in *" $layer "*) continue ;; esac
  case "$file" in *_test.cpp | *_fuzz.cpp) continue ;; esac
  allowed="${ALLOWED[$layer]:-}"
  if [ -z "$allowed" ]; then
    report "$file lies in $layer/, which is no layer: add the folder to tools/check_layers.sh"
    continue
  fi
  while IFS= read -r header || [ -n "$header" ]; do
    ok=0
    for entry in $allowed; do
      if [ "$entry" = "${header%%/*}" ] || [ "$entry" = "$header" ]; then ok=1; break; fi
    done
    [ $ok -eq 1 ] || report "$file includes \"$header\": $layer may include only: $allowed"
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . \( -name 'build*' -o -name '.git' \) -prune -o \( -name '*.h' -o -name '*.cpp' \) -print | sort)

if [ $failures -gt 0 ]; then
  echo "$failures file(s) against the layers"
  exit 1
fi
echo "layers: every include runs downwards"
