#include <charconv>
#include <cstring>

#include "convert/kvtml.h"
#include "convert/unicode.h"
#include "store/cp1252.h"

namespace zl {
namespace {

// Grows `out` without initialising and copies: much quicker than insert
// with this allocator.
void append(ByteBuffer& out, std::string_view text) {
  const std::size_t at = out.size();
  out.resize(at + text.size());
  std::memcpy(out.data() + at, text.data(), text.size());
}

void appendNumber(ByteBuffer& out, std::uint64_t number) {
  char digits[20];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  append(out, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

// Bytes that stand for themselves in character data.
bool isPlain(unsigned char byte) {
  return (byte >= 0x20 && byte < 0x80 && byte != '&' && byte != '<' && byte != '>') || byte == '\t';
}

// The Windows-1252 `text` as UTF-8 character data.
void appendText(ByteBuffer& out, std::string_view text, std::int64_t entryNumber, UnmappableReport& report) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t run = i;
    while (run < text.size() && isPlain(static_cast<unsigned char>(text[run]))) ++run;
    append(out, text.substr(i, run - i));
    if (run == text.size()) return;
    const auto byte = static_cast<unsigned char>(text[run]);
    if (byte == '&')
      append(out, "&amp;");
    else if (byte == '<')
      append(out, "&lt;");
    else if (byte == '>')
      append(out, "&gt;");
    else if (byte >= 0x80)
      appendUtf8(out, codePointOfCp1252(byte));
    else {  // a control character, which XML cannot carry
      report.note({TextPlace::Entry, entryNumber}, byte);
      if (report.replacing()) out.push_back('?');
    }
    i = run + 1;
  }
}

}  // namespace

void writeKvtmlHead(ByteBuffer& out) {
  append(out,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
         "<kvtml version=\"2.0\">\n"
         "  <information>\n"
         "    <generator>zelvo-lingotak-convert</generator>\n"
         "    <title>Vokabeln</title>\n"
         "  </information>\n"
         "  <identifiers>\n"
         "    <identifier id=\"0\">\n"
         "      <name>Vokabel</name>\n"
         "      <locale>en</locale>\n"
         "    </identifier>\n"
         "    <identifier id=\"1\">\n"
         "      <name>Übersetzung</name>\n"
         "      <locale>de</locale>\n"
         "    </identifier>\n"
         "  </identifiers>\n"
         "  <entries>\n");
}

void writeKvtmlEntries(const VocabList& list, std::int64_t first, std::int64_t last, ByteBuffer& out,
                       UnmappableReport& report) {
  for (std::int64_t position = first; position < last; ++position) {
    const PairView pair = list[position];
    append(out, "    <entry id=\"");
    appendNumber(out, static_cast<std::uint64_t>(position));
    append(out, "\">\n      <translation id=\"0\">\n        <text>");
    appendText(out, pair.vocabulary, position + 1, report);
    append(out, "</text>\n      </translation>\n      <translation id=\"1\">\n        <text>");
    appendText(out, pair.translation, position + 1, report);
    append(out, "</text>\n");
    if (pair.correctCount != 0 || pair.wrongCount != 0) {
      // Unsigned 16-bit values: never negative, and reading takes the low
      // 16 bits, so every count comes back.
      const auto right = static_cast<std::uint16_t>(pair.correctCount);
      const auto wrong = static_cast<std::uint16_t>(pair.wrongCount);
      // The grade of asking this translation from language 0, with all the
      // parts the format requires: no level reached yet and no date.
      append(out, "        <grade fromid=\"0\">\n          <currentgrade>0</currentgrade>\n          <count>");
      appendNumber(out, std::uint64_t{right} + wrong);
      append(out, "</count>\n          <errorcount>");
      appendNumber(out, wrong);
      append(out, "</errorcount>\n          <date></date>\n        </grade>\n");
    }
    append(out, "      </translation>\n    </entry>\n");
  }
}

void writeKvtmlTail(std::int64_t entryCount, ByteBuffer& out) {
  append(out, "  </entries>\n");
  if (entryCount > 0) {
    // KDE's trainers practise lessons; one lesson holds every entry.
    append(out, "  <lessons>\n    <container>\n      <name>Vokabeln</name>\n      <inpractice>true</inpractice>\n");
    for (std::int64_t id = 0; id < entryCount; ++id) {
      append(out, "      <entry id=\"");
      appendNumber(out, static_cast<std::uint64_t>(id));
      append(out, "\"/>\n");
    }
    append(out, "    </container>\n  </lessons>\n");
  }
  append(out, "</kvtml>\n");
}

}  // namespace zl
