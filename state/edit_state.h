// The state of the entry page's editing and search: whether a pair taken
// into the entry fields waits to be stored back, and where the running
// search continues. Plain data.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

struct EditState {
  bool editMode = false;            // a pair copied into the fields waits to be stored back
  std::int32_t editRow = -1;        // position of that pair
  std::string searchTerm;           // lower-cased term of the last search
  std::int32_t searchPosition = 0;  // pairs the running search has passed
};

}  // namespace zl
