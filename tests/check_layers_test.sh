#!/usr/bin/env bash
# The layer check passes a tree whose includes run downwards, and fails one
# with a single upward include or a single file in an unknown folder, naming
# the file each time.
set -euo pipefail
check="$(cd "$(dirname "$0")/.." && pwd)/tools/check_layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/store" "$tree/app" "$tree/quiz" "$tree/qt" "$tree/test_support"
printf '#include "store/path_names.h"\n' >"$tree/app/startup.cpp"
printf '#include "files/file_commands.h"\n' >"$tree/quiz/quiz_run.cpp"
printf '#include "app/window_layout.h"\n#include "posix/system_posix.h"\n' >"$tree/qt/main_window.cpp"
printf '#include "qt/qt_ui.h"\n#include "app/dispatch.h"\n' >"$tree/test_support/fake_platform.cpp"
"$check" "$tree" >/dev/null || { echo "a downward tree was refused"; exit 1; }

refused() {  # file, its text, the report expected
  printf '%s' "$2" >"$tree/$1"
  local output
  if output=$("$check" "$tree"); then
    echo "passed: $1"
    exit 1
  fi
  grep -qF "$3" <<<"$output" || { echo "unexpected report: $output"; exit 1; }
  rm "$tree/$1"
}
refused store/path_names.cpp $'#include <string>\n  #  include "app/dispatch.h"\n' \
  'store/path_names.cpp includes "app/dispatch.h"'
refused qt/qt_ui.cpp '#include "app/dispatch.h"' 'qt/qt_ui.cpp includes "app/dispatch.h"'
mkdir -p "$tree/gadgets"
refused gadgets/gadget.h '#include "platform/ui.h"' 'gadgets/gadget.h lies in gadgets/'
echo "the check catches an upward include and an unknown folder"
