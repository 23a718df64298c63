#!/usr/bin/env bash
# The layer check passes a tree whose includes run downwards and fails one
# with a single upward include, naming the file.
set -euo pipefail
check="$(cd "$(dirname "$0")/.." && pwd)/tools/check_layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/store" "$tree/app" "$tree/quiz"
printf '#include "store/path_names.h"\n' >"$tree/app/startup.cpp"
printf '#include "files/file_commands.h"\n' >"$tree/quiz/quiz_run.cpp"
"$check" "$tree" >/dev/null || { echo "a downward tree was refused"; exit 1; }
printf '#include <string>\n  #  include "app/dispatch.h"\n' >"$tree/store/path_names.cpp"
if output=$("$check" "$tree"); then
  echo "an upward include passed"
  exit 1
fi
grep -q 'store/path_names.cpp includes "app/dispatch.h"' <<<"$output" || { echo "unexpected report: $output"; exit 1; }
echo "the check catches an upward include"
