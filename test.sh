#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, then in the normal
# build, whose ctest summary line ends the output.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZL_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^smoke\.'

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
echo "== tests =="
ctest --test-dir build --output-on-failure -j "$jobs"
