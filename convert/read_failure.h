// Why an input could not be converted, and where reading stopped: shown to
// the user after the file's name ("Zeile 12: ..."). The reason is German,
// in UTF-8.
#pragma once

#include <string>

#include "convert/pair_builder.h"

namespace zl {

struct ReadFailure {
  TextPlace place;  // number 0: the file as a whole
  std::string reason;
};

}  // namespace zl
