#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets
# of the file reader, the help text's reader, the HTTP response reader, the
# readers of update files and the converter's readers of delimited text and
# KVTML for a few seconds each,
# then in the normal build (which also compiles the benchmarks, without
# running them), whose ctest summary line ends the output. Warnings are errors in every one of these builds.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZL_SANITIZE=ON -DZL_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^smoke\.'

echo "== fuzzing the file reader, the help text's reader, the update's readers and the converter's readers for a few seconds each =="
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZL_FUZZ=ON -DZL_TESTS=OFF -DZL_WERROR=ON >/dev/null
cmake --build build-fuzz --target zl_file_format_fuzz zl_rtf_reader_fuzz zl_http_response_fuzz zl_update_file_fuzz \
  zl_delimited_text_fuzz zl_kvtml_fuzz zl_anki_package_fuzz
fuzz() {  # target, seed files...
  local target=$1
  shift
  rm -rf "build-fuzz/corpus-$target" && mkdir -p "build-fuzz/corpus-$target" && cp "$@" "build-fuzz/corpus-$target/"
  "build-fuzz/$target" -max_total_time=5 -seed=1 "build-fuzz/corpus-$target" >"build-fuzz/$target.log" 2>&1 ||
    { tail -n 40 "build-fuzz/$target.log"; echo "$target found a fault"; exit 1; }
  tail -n 1 "build-fuzz/$target.log"
}
fuzz zl_file_format_fuzz examples/*.ltk
fuzz zl_rtf_reader_fuzz app/help/hilfe.rtf
fuzz zl_http_response_fuzz update/fuzz-seeds/response-*
fuzz zl_update_file_fuzz update/fuzz-seeds/program-* update/fuzz-seeds/signature-*
fuzz zl_delimited_text_fuzz convert/fuzz-seeds/delimited-* convert/testdata/*.csv convert/testdata/*.tsv convert/testdata/*.txt
fuzz zl_kvtml_fuzz convert/fuzz-seeds/kvtml-* convert/testdata/*.kvtml
fuzz zl_anki_package_fuzz convert/fuzz-seeds/anki-*

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZL_WERROR=ON -DZL_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
echo "== tests =="
ctest --test-dir build --output-on-failure -j "$jobs"
