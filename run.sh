#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zelvo Lingotak with FILE or
# with the bundled sample vocabulary. Without a display it runs the program
# in a virtual X server, saves a screenshot of the window and says where.
# Usage: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

file="${1:-$PWD/examples/englisch.ltk}"
program="$PWD/build/zelvo-lingotak"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$file"
fi

shot="$PWD/build/screenshot.png"
export program file shot
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$program" "$file" &
  pid=$!
  window=$(xdotool search --sync --onlyvisible --name "^Zelvo Lingotak$" | head -n 1)
  sleep 1
  import -window "$window" "$shot"
  kill "$pid"
'
echo "No display: the program ran in a virtual X server. Screenshot of its window: $shot"
