// The one boundary between the program's Windows-1252 texts and Qt's
// Unicode, and the validator that keeps every text field within what
// Windows-1252 (and a vocabulary file line) can hold.
//
// A stored text has no length limit, and Qt lays out a whole text to paint
// any of it, so a control shows a text through `toShownQString`, which
// converts only the part that is shown.
#pragma once

#include <QString>
#include <QValidator>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ui.h"
#include "state/window_rules.h"

namespace zl {

QString toQString(std::string_view cp1252);
// At most `length` characters (at least 1) of `cp1252`: a longer text shows
// its first length - 1 and "…", so the cut can be seen. The rest of the
// text is never read.
QString toShownQString(std::string_view cp1252, std::size_t length);
// Characters Windows-1252 cannot hold become "?"; the text fields never
// let such characters in, so for their texts the conversion is exact.
std::string toCp1252(const QString& text);

// True when every character can be stored: representable in Windows-1252 and
// not a line break, NUL or other control character (a tab is allowed).
bool fitsVocabularyLine(const QString& text);

// Refuses typed or pasted text that `fitsVocabularyLine` rejects.
class Cp1252Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
};

}  // namespace zl
