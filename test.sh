#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz target
# of the file reader for a few seconds, then in the normal build, whose
# ctest summary line ends the output.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZL_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^smoke\.'

echo "== fuzzing the file reader for a few seconds =="
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZL_FUZZ=ON -DZL_TESTS=OFF >/dev/null
cmake --build build-fuzz --target zl_file_format_fuzz
rm -rf build-fuzz/corpus && mkdir -p build-fuzz/corpus && cp examples/*.ltk build-fuzz/corpus/
build-fuzz/zl_file_format_fuzz -max_total_time=5 -seed=1 build-fuzz/corpus >build-fuzz/fuzz.log 2>&1 ||
  { tail -n 40 build-fuzz/fuzz.log; echo "the fuzz target found a fault"; exit 1; }
tail -n 1 build-fuzz/fuzz.log

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
echo "== tests =="
ctest --test-dir build --output-on-failure -j "$jobs"
