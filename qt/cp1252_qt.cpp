#include "qt/cp1252_qt.h"

#include "store/cp1252.h"

namespace zl {

QString toQString(std::string_view cp1252) {
  QString text(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : cp1252) *out++ = QChar(static_cast<char16_t>(codePointOfCp1252(static_cast<unsigned char>(c))));
  return text;
}

QString toShownQString(std::string_view cp1252, std::size_t length) {
  if (cp1252.size() <= length) return toQString(cp1252);
  return toQString(cp1252.substr(0, length - 1)) + QChar(u'\u2026');
}

std::string toCp1252(const QString& text) {
  std::string out(static_cast<std::size_t>(text.size()), '?');
  for (qsizetype i = 0; i < text.size(); ++i) {
    unsigned char byte = '?';
    if (cp1252OfCodePoint(text[i].unicode(), byte)) out[static_cast<std::size_t>(i)] = static_cast<char>(byte);
  }
  return out;
}

bool fitsVocabularyLine(const QString& text) {
  for (QChar ch : text) {
    unsigned char byte = 0;
    const char16_t code = ch.unicode();
    if ((code < 0x20 && code != u'\t') || !cp1252OfCodePoint(code, byte)) return false;
  }
  return true;
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
  return fitsVocabularyLine(input) ? Acceptable : Invalid;
}

}  // namespace zl
