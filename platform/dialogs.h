// Message boxes of a program without a window of its own: the import that
// file managers start through "Open with", which has no terminal to print
// to. Texts in UTF-8.
//
// Abstract so tests can answer the questions and read what was shown; the
// real version is Qt (qt/dialogs_qt.h). Where no box can be shown (no
// display), the text goes to the standard error output and a question is
// answered No.
#pragma once

#include <string>

#include "platform/ui.h"

namespace zl {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows `text` with one OK button and waits for it.
  virtual void tell(const std::string& title, const std::string& text, MessageIcon icon) = 0;
  // Asks with Yes and No buttons; true for Yes.
  virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
};

}  // namespace zl
