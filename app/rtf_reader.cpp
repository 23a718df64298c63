#include "app/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace zl {

namespace {

// Where the text of a group goes.
enum class Destination { Text, FontTable, ColourTable, Bullet, Skipped };

struct CharacterState {
  int font = 0;
  int halfPoints = 24;
  bool bold = false;
  bool underline = false;
  int colour = 0;

  bool operator==(const CharacterState&) const = default;
};

struct ParagraphState {
  ParagraphAlignment alignment = ParagraphAlignment::Left;
  int leftIndent = 0;
  int firstLineIndent = 0;
  bool bullet = false;
};

struct GroupState {
  Destination destination = Destination::Text;
  CharacterState characters;
  ParagraphState paragraph;
  bool starred = false;  // the group began with \*: an unknown destination is skipped
};

// Groups that hold no text of the document even without a \*.
constexpr std::string_view kSkippedDestinations[] = {"pntext", "stylesheet", "info",   "pict",
                                                     "object", "header",     "footer", "footnote"};

// Parameters beyond this say nothing more and could overflow.
constexpr std::int64_t MaxParameter = 1'000'000'000;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Reader {
 public:
  explicit Reader(std::string_view rtf) : in_(rtf) { stack_.emplace_back(); }

  RichDocument read() {
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      if (c == '{')
        openGroup();
      else if (c == '}')
        closeGroup();
      else if (c == '\\')
        control();
      else
        text(c);
    }
    if (!paragraph_.runs.empty()) endParagraph();
    return std::move(document_);
  }

 private:
  GroupState& state() { return stack_.back(); }

  void openGroup() {
    if (static_cast<int>(stack_.size()) > MaxRtfNesting) {
      ++unstackedDepth_;
      return;
    }
    stack_.push_back(state());
    state().starred = false;
  }

  void closeGroup() {
    if (unstackedDepth_ > 0)
      --unstackedDepth_;
    else if (stack_.size() > 1)
      stack_.pop_back();
  }

  void control() {
    if (pos_ >= in_.size()) return;
    if (!isLetter(in_[pos_])) {
      symbol(in_[pos_++]);
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_])) ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);
    bool hasParameter = false;
    int parameter = 0;
    if (pos_ < in_.size() &&
        (isDigit(in_[pos_]) || (in_[pos_] == '-' && pos_ + 1 < in_.size() && isDigit(in_[pos_ + 1])))) {
      const bool negative = in_[pos_] == '-';
      if (negative) ++pos_;
      std::int64_t value = 0;
      for (; pos_ < in_.size() && isDigit(in_[pos_]); ++pos_)
        value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), MaxParameter);
      parameter = static_cast<int>(negative ? -value : value);
      hasParameter = true;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    controlWord(word, hasParameter, parameter);
  }

  void symbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}':
        text(c);
        break;
      case '~':
        text('\xA0');
        break;
      case '_':
        text('-');
        break;
      case '*':
        state().starred = true;
        break;
      case '\'': {
        // Up to two hex digits; a cut or broken escape gives nothing.
        int value = 0, digits = 0;
        for (; digits < 2 && pos_ < in_.size() && hexValue(in_[pos_]) >= 0; ++digits)
          value = value * 16 + hexValue(in_[pos_++]);
        if (digits == 2) text(static_cast<char>(value));
        break;
      }
      case '\r':
      case '\n':
        if (state().destination == Destination::Text) endParagraph();
        break;
      default:  // \- (an optional hyphen: the text is hyphenated by hand) and the unknown ones
        break;
    }
  }

  void controlWord(std::string_view word, bool hasParameter, int parameter) {
    GroupState& s = state();
    const bool wasStarred = s.starred;
    s.starred = false;
    if (destinationWord(word)) return;
    if (wasStarred) {
      s.destination = Destination::Skipped;
      return;
    }
    const bool on = !hasParameter || parameter != 0;
    switch (s.destination) {
      case Destination::FontTable:
        if (word == "f") {
          fontNumber_ = parameter;
          fontName_.clear();
        }
        return;
      case Destination::ColourTable:
        if (word == "red") red_ = std::clamp(parameter, 0, 255);
        if (word == "green") green_ = std::clamp(parameter, 0, 255);
        if (word == "blue") blue_ = std::clamp(parameter, 0, 255);
        return;
      case Destination::Bullet:
        // The bullet belongs to the paragraph that holds this group.
        if (word == "pnlvlblt" && stack_.size() > 1 && unstackedDepth_ == 0)
          stack_[stack_.size() - 2].paragraph.bullet = true;
        return;
      case Destination::Skipped:
        return;
      case Destination::Text:
        break;
    }
    CharacterState& chars = s.characters;
    ParagraphState& para = s.paragraph;
    if (word == "par") {
      endParagraph();
    } else if (word == "line") {
      appendText('\n');
    } else if (word == "tab") {
      text('\t');
    } else if (word == "pard") {
      para = ParagraphState{};
    } else if (word == "plain") {
      chars = CharacterState{};
      chars.font = defaultFont_;
    } else if (word == "b") {
      chars.bold = on;
    } else if (word == "ul") {
      chars.underline = on;
    } else if (word == "ulnone") {
      chars.underline = false;
    } else if (word == "f") {
      chars.font = parameter;
    } else if (word == "fs") {
      chars.halfPoints = parameter > 0 ? std::min(parameter, MaxHalfPoints) : 24;
    } else if (word == "cf") {
      chars.colour = parameter;
    } else if (word == "deff") {
      defaultFont_ = parameter;
      chars.font = parameter;
    } else if (word == "ql") {
      para.alignment = ParagraphAlignment::Left;
    } else if (word == "qc") {
      para.alignment = ParagraphAlignment::Centre;
    } else if (word == "qr") {
      para.alignment = ParagraphAlignment::Right;
    } else if (word == "qj") {
      para.alignment = ParagraphAlignment::Justified;
    } else if (word == "li") {
      para.leftIndent = std::clamp(parameter, -MaxIndentTwips, MaxIndentTwips);
    } else if (word == "fi") {
      para.firstLineIndent = std::clamp(parameter, -MaxIndentTwips, MaxIndentTwips);
    }
  }

  // True when `word` names a destination; the group's text then goes there.
  bool destinationWord(std::string_view word) {
    Destination& destination = state().destination;
    if (destination == Destination::Skipped) return true;
    if (word == "fonttbl") {
      destination = Destination::FontTable;
    } else if (word == "colortbl") {
      destination = Destination::ColourTable;
    } else if (word == "pn") {
      destination = Destination::Bullet;
    } else if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
               std::end(kSkippedDestinations)) {
      destination = Destination::Skipped;
    } else {
      return false;
    }
    return true;
  }

  // A character of the text, as it stands or escaped. Line ends and other
  // control characters are not text in RTF (a line break is \line).
  void text(char c) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return;
    switch (state().destination) {
      case Destination::Text:
        appendText(c);
        break;
      case Destination::FontTable:
        if (c == ';') {
          fonts_[fontNumber_] = trimmed(fontName_);
          fontName_.clear();
        } else {
          fontName_ += c;
        }
        break;
      case Destination::ColourTable:
        if (c == ';') {
          colours_.push_back(static_cast<std::uint32_t>(red_ << 16 | green_ << 8 | blue_));
          red_ = green_ = blue_ = 0;
        }
        break;
      case Destination::Bullet:
      case Destination::Skipped:
        break;
    }
  }

  void appendText(char c) {
    const CharacterState& chars = state().characters;
    if (paragraph_.runs.empty() || !(chars == runCharacters_)) {
      TextStyle style = styleOf(chars);
      // Two states may look alike (two fonts the table does not name).
      if (paragraph_.runs.empty() || !(style == paragraph_.runs.back().style))
        paragraph_.runs.push_back(TextRun{std::string(), std::move(style)});
      runCharacters_ = chars;
    }
    paragraph_.runs.back().text += c;
  }

  void endParagraph() {
    if (paragraph_.runs.empty()) paragraph_.runs.push_back(TextRun{std::string(), styleOf(state().characters)});
    const ParagraphState& para = state().paragraph;
    paragraph_.alignment = para.alignment;
    paragraph_.leftIndentTwips = para.leftIndent;
    paragraph_.firstLineIndentTwips = para.firstLineIndent;
    paragraph_.bullet = para.bullet;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RichParagraph{};
  }

  TextStyle styleOf(const CharacterState& chars) const {
    TextStyle style;
    const auto font = fonts_.find(chars.font);
    if (font != fonts_.end()) style.font = font->second;
    style.halfPoints = chars.halfPoints;
    style.bold = chars.bold;
    style.underline = chars.underline;
    // Colour 0 is the table's "auto" entry: black.
    if (chars.colour > 0 && static_cast<std::size_t>(chars.colour) < colours_.size())
      style.rgb = colours_[static_cast<std::size_t>(chars.colour)];
    return style;
  }

  static std::string trimmed(const std::string& name) {
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_;
  int unstackedDepth_ = 0;  // braces opened beyond MaxRtfNesting
  int defaultFont_ = 0;

  std::map<int, std::string> fonts_;
  int fontNumber_ = 0;
  std::string fontName_;
  std::vector<std::uint32_t> colours_;
  int red_ = 0, green_ = 0, blue_ = 0;

  RichDocument document_;
  RichParagraph paragraph_;
  CharacterState runCharacters_;  // the state the last run of `paragraph_` was made in
};

}  // namespace

RichDocument readRtf(std::string_view rtf) { return Reader(rtf).read(); }

}  // namespace zl
