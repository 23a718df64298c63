// Finding a term in the list regardless of case, fast enough for a click
// over a million pairs: the texts of pairs that lie one after the other in
// the list's text block (as a file loads them) are searched as one block,
// sixteen bytes at a time, instead of pair by pair.
//
// Terms are lower-cased as Windows-1252 (`lowerCp1252`) by the caller;
// texts are compared folded the same way, and every text holds the empty
// term. Pure.
#pragma once

#include <cstdint>
#include <string_view>

namespace zl {

class VocabList;

// The first position at or after `from` where `loweredTerm` stands in
// `text`, folded; std::string_view::npos when there is none.
std::size_t findFolded(std::string_view text, std::string_view loweredTerm, std::size_t from = 0);

// True when `text`, lower-cased as Windows-1252, contains `loweredTerm`.
inline bool containsFolded(std::string_view text, std::string_view loweredTerm) {
  return findFolded(text, loweredTerm) != std::string_view::npos;
}

// The first pair at or after `from` whose vocabulary or translation
// contains `loweredTerm`; -1 when none does.
std::int64_t firstMatchingPair(const VocabList& list, std::int64_t from, std::string_view loweredTerm);

}  // namespace zl
