// The rows of the window's list of pairs (VocabListView) as the window
// reads them: the two texts of the pair at a position, Windows-1252 bytes
// that stay valid until the list changes next. The program's list
// implements it (store/vocab_store.h); the window keeps a reference and
// reads only rows that the program has told it exist. Cannot fail.
#pragma once

#include <cstdint>
#include <string_view>

namespace zl {

class ListRows {
 public:
  // The vocabulary (column 0) or the translation (column 1) of row `row`.
  virtual std::string_view rowText(std::int64_t row, int column) const = 0;

 protected:
  ~ListRows() = default;
};

}  // namespace zl
