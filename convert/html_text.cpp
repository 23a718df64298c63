#include "convert/html_text.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "convert/unicode.h"
#include "store/cp1252.h"

namespace zl {

namespace {

bool startsWithFolded(std::string_view text, std::string_view lower) {
  return text.size() >= lower.size() && equalsAsciiFolded(text.substr(0, lower.size()), lower);
}

// True when `tag` (between "<" and ">") is the opening tag `name`.
bool isTag(std::string_view tag, std::string_view name) {
  return startsWithFolded(tag, name) &&
         (tag.size() == name.size() || tag[name.size()] == ' ' || tag[name.size()] == '/' || tag[name.size()] == '\t' ||
          tag[name.size()] == '\n' || tag[name.size()] == '\r');
}

bool isMediaTag(std::string_view tag) {
  return isTag(tag, "img") || isTag(tag, "audio") || isTag(tag, "video") || isTag(tag, "object");
}

// The character an entity's name (between "&" and ";") stands for; 0 for
// a name that is none of the few that fields use, nor a number.
char32_t entityCharacter(std::string_view name) {
  constexpr std::pair<std::string_view, char32_t> kNamed[] = {{"amp", U'&'},  {"lt", U'<'},    {"gt", U'>'},
                                                              {"quot", U'"'}, {"apos", U'\''}, {"nbsp", U'\u00A0'}};
  for (const auto& [entity, character] : kNamed)
    if (name == entity) return character;
  if (name.size() < 2 || name[0] != '#') return 0;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return 0;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return static_cast<char32_t>(value);
}

}  // namespace

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool equalsAsciiFolded(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
           return (isAsciiLetter(a) ? static_cast<char>(a | 0x20) : a) == b;
         });
}

void appendTextOfHtml(std::string_view html, TextEncoding encoding, ByteBuffer& out, HtmlField* field) {
  const std::size_t start = out.size();
  std::size_t shownEnd = out.size();  // the end of what a browser shows
  // A blank that HTML shows only between other text.
  const auto appendBlank = [&](char blank) {
    if (!field || out.size() > start) out.push_back(blank);
  };
  // The first ">" after the last "<" that was looked at, so that a text
  // full of "<" is not searched again and again; npos: none is left.
  std::size_t close = 0;
  std::size_t closingBracket = 0;  // the same for the "]" of a sound
  std::size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '<' && i + 1 < html.size() && (isAsciiLetter(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!')) {
      if (close != std::string_view::npos && close <= i) close = html.find('>', i + 1);
      if (close != std::string_view::npos) {
        const std::string_view tag = html.substr(i + 1, close - i - 1);
        if (isTag(tag, "br")) appendBlank(' ');
        if (field && isMediaTag(tag)) ++field->mediaReferences;
        i = close + 1;
        continue;
      }
    }
    if (c == '[' && field && html.substr(i).starts_with("[sound:")) {
      if (closingBracket != std::string_view::npos && closingBracket <= i) closingBracket = html.find(']', i);
      if (closingBracket != std::string_view::npos) {
        ++field->mediaReferences;
        i = closingBracket + 1;
        continue;
      }
    }
    if (c == '&') {
      constexpr std::size_t kLongestName = 8;  // "#x10FFFF"
      const std::size_t length = html.substr(i + 1, kLongestName + 1).find(';');
      const char32_t character = length == std::string_view::npos ? 0 : entityCharacter(html.substr(i + 1, length));
      if (field && html.substr(i + 1, length) == "nbsp") {
        appendBlank(' ');
        i += length + 2;
        continue;
      }
      if (character != 0) {
        appendUtf8(out, character);
        shownEnd = out.size();
        i += length + 2;
        continue;
      }
    }
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      appendBlank(c);
    } else if (field && encoding == TextEncoding::Utf8 && html.substr(i).starts_with("\xC2\xA0")) {
      appendBlank(' ');
      ++i;
    } else {
      if (encoding == TextEncoding::Cp1252 && static_cast<unsigned char>(c) >= 0x80)
        appendUtf8(out, codePointOfCp1252(static_cast<unsigned char>(c)));
      else
        out.push_back(c);
      shownEnd = out.size();
    }
    ++i;
  }
  if (field) out.resize(shownEnd);
}

}  // namespace zl
