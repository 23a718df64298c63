#!/usr/bin/env bash
# The converter as the user runs it, with iconv on the same file in the same
# run as the yardstick: 1,000,000 pairs of a UTF-8 CSV (umlauts, accents,
# the euro sign) into a vocabulary file, against iconv -f UTF-8 -t
# WINDOWS-1252 of that CSV; then a KVTML document of 100,000 entries into a
# vocabulary file. Times are hyperfine's means; the peak memory is GNU
# time's maximum resident set (which counts the pages of the mapped input).
# Usage: bench/convert_bench.sh CONVERTER [RUNS]
set -euo pipefail
convert="$(realpath "$1")"
runs="${2:-10}"
dir=/tmp/zl-convert-bench
mkdir -p "$dir"
table=$(mktemp)
trap 'rm -f "$table"' EXIT

csv="$dir/pairs-1000000.csv"
[ -f "$csv" ] || python3 - "$csv" <<'PY'
import random, sys
random.seed(7)
words = ["Haus", "Tür", "Straße", "Größe", "Übung", "Käse", "café", "naïve", "façade", "Öl", "Bär", "€uro"]
with open(sys.argv[1], "w", encoding="utf-8", newline="") as out:
    for i in range(1000000):
        out.write(f"{random.choice(words)} {i};{random.choice(words)}-{i * 7 % 100003}\r\n")
PY
echo "== 1,000,000 pairs of CSV ($(du -m "$csv" | cut -f1) MB) into a vocabulary file =="
hyperfine -N -w 2 -r "$runs" --style none --export-markdown "$table" \
  "iconv -f UTF-8 -t WINDOWS-1252 $csv -o $dir/iconv.txt" \
  "$convert --force $csv $dir/pairs.ltk" >/dev/null 2>&1
grep '^| `' "$table"
/usr/bin/time -f "peak memory of the converter: %M KB" "$convert" --force "$csv" "$dir/pairs.ltk" >/dev/null
echo "vocabulary file: $(du -k "$dir/pairs.ltk" | cut -f1) KB, CSV: $(du -k "$csv" | cut -f1) KB"

kvtml="$dir/entries-100000.kvtml"
if [ ! -f "$kvtml" ]; then
  head -n 400000 "$dir/pairs.ltk" >"$dir/pairs-100000.ltk"
  "$convert" "$dir/pairs-100000.ltk" "$kvtml" >/dev/null
fi
echo "== a KVTML document of 100,000 entries ($(du -m "$kvtml" | cut -f1) MB) into a vocabulary file =="
hyperfine -N -w 2 -r "$runs" --style none --export-markdown "$table" \
  "$convert --force $kvtml $dir/entries.ltk" >/dev/null 2>&1
grep '^| `' "$table"
/usr/bin/time -f "peak memory of the converter: %M KB" "$convert" --force "$kvtml" "$dir/entries.ltk" >/dev/null
