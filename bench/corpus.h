// The vocabulary files the benchmarks work on, made once into
// /tmp/zl-file-bench/: generated words of 6 to 9 letters, and a real
// dictionary, Debian's German-English one (package trans-de-en), as
// English-German pairs; pairs Windows-1252 cannot hold are left out.
#pragma once

#include <cstdint>
#include <string>

namespace zl::bench {

// A file of `pairs` generated pairs with small counts.
std::string generatedFile(std::int64_t pairs);

// The dictionary's pairs in its order, as many times over as it takes to
// reach `pairs` pairs (0: the dictionary once). Ends the benchmark with a
// message when the dictionary is not installed.
std::string dictionaryFile(std::int64_t pairs = 0);

// The benchmark argument that stands for the whole dictionary once.
inline constexpr std::int64_t WholeDictionary = 0;

}  // namespace zl::bench
