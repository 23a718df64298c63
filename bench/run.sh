#!/usr/bin/env bash
# Installs what the benchmarks need (the build's packages, Debian's
# German-English dictionary for the real corpus, hyperfine, unzip and
# sqlite3 for the yardsticks), builds them in Release, and runs every
# benchmark, then the yardsticks wc -l, cp and dd conv=fsync on the same
# files, and the converter against iconv and against unzip and sqlite3.
# Run it on an idle machine, with no trainer open (the start-up benchmarks
# start the program, which runs once per user); see bench/README.md for
# what each figure means.
# Usage: bench/run.sh [REPETITIONS]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench

repetitions="${1:-5}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZL_BENCH=ON -DZL_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
flags=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true)
for bench in file test edit print help download; do
  echo "== zl_${bench}_bench =="
  "build-bench/bench/zl_${bench}_bench" "${flags[@]}" 2>/dev/null | grep -E '_median|^BM_.* (ms|us) ' || true
done
echo "== start-up to the first paint (xvfb) =="
xvfb-run -a -s "-screen 0 1024x768x24" \
  build-bench/bench/zl_startup_bench "${flags[@]}" 2>/dev/null | grep -E '_median' || true

# The files exist now: the benchmarks made them.
table=$(mktemp)
trap 'rm -f "$table" /tmp/zl-file-bench/yardstick-*.ltk' EXIT
echo "== yardsticks on the same files (hyperfine, mean of 20 runs) =="
for file in pairs-300000.ltk pairs-1000000.ltk dictionary.ltk dictionary-1000000.ltk; do
  path="/tmp/zl-file-bench/$file"
  [ -f "$path" ] || continue
  hyperfine -N -w 3 -r 20 --style none --export-markdown "$table" \
    "wc -l $path" "cp $path /tmp/zl-file-bench/yardstick-copy.ltk" \
    "dd if=$path of=/tmp/zl-file-bench/yardstick-dd.ltk bs=1M conv=fsync status=none" >/dev/null 2>&1
  grep '^| `' "$table"
done
echo "== the whole program from start to the painted list (xvfb, mean of 10 runs) =="
xvfb-run -a -s "-screen 0 1024x768x24" hyperfine -N -w 2 -r 10 --style none --export-markdown "$table" \
  "build-bench/bench/zl_first_paint" \
  "build-bench/bench/zl_first_paint /tmp/zl-file-bench/pairs-1000000.ltk" \
  "build-bench/bench/zl_first_paint /tmp/zl-file-bench/dictionary-1000000.ltk" >/dev/null 2>&1
grep '^| `' "$table"
echo "== the converter against iconv =="
bench/convert_bench.sh build-bench/zelvo-lingotak-convert 10
echo "== the converter reading Anki packages, against unzip and sqlite3 =="
bench/anki_bench.sh build-bench/zelvo-lingotak-convert 10
