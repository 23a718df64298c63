#include "convert/delimited_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "convert/html_text.h"
#include "convert/texts.h"
#include "convert/unicode.h"
#include "store/cp1252.h"

namespace zl {
namespace {

// How many rows the choice of the delimiter looks at.
constexpr int kSampleRows = 50;
// Column numbers beyond this in a header line are taken for a mistake.
constexpr int kMostColumns = 10000;

// A field as it lies in the text: [begin, end), quotes included.
struct RawField {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool quoted = false;
  bool plain = true;  // the field's text is a part of the input as it stands
};

// A row as the scanner found it.
struct Row {
  std::vector<RawField> fields;
  std::int64_t line = 0;  // where it starts, 1-based
  // Every quote stands where RFC 4180 allows one: no quote inside an
  // unquoted field, nothing after a closing quote, no quote left open.
  bool clean = true;
};

// Splits text into rows at one delimiter, quotes respected.
class RowScanner {
 public:
  RowScanner(std::string_view text, char delimiter, std::size_t at, std::int64_t line)
      : text_(text), delimiter_(delimiter), at_(at), line_(line) {}

  // Reads the next row that holds anything, passing over rows whose fields
  // are all empty (blank lines, and spreadsheets' ";;;" of empty rows).
  // Returns false, leaving `row` alone, at the end of the text.
  bool next(Row& row) {
    while (at_ < text_.size()) {
      readRow(row);
      const bool blank = std::all_of(row.fields.begin(), row.fields.end(),
                                     [](const RawField& field) { return field.begin == field.end; });
      if (!blank) return true;
    }
    return false;
  }

 private:
  void readRow(Row& row) {
    row.fields.clear();
    row.line = line_;
    row.clean = true;
    while (true) {
      RawField field;
      field.begin = at_;
      if (at_ < text_.size() && text_[at_] == '"')
        readQuoted(field, row);
      else
        readUnquoted(row);
      field.end = at_;
      row.fields.push_back(field);
      if (at_ >= text_.size()) return;
      const char c = text_[at_++];
      if (c == delimiter_) continue;
      if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
      ++line_;
      return;
    }
  }

  // Moves to the delimiter or line end that closes the field.
  void readUnquoted(Row& row) {
    for (; at_ < text_.size(); ++at_) {
      const char c = text_[at_];
      if (c == delimiter_ || c == '\r' || c == '\n') return;
      if (c == '"') row.clean = false;
    }
  }

  void readQuoted(RawField& field, Row& row) {
    field.quoted = true;
    ++at_;
    while (true) {
      if (at_ >= text_.size()) {  // never closed: the field runs to the end
        field.plain = false;
        row.clean = false;
        return;
      }
      const char c = text_[at_++];
      if (c == '\n' || (c == '\r' && (at_ >= text_.size() || text_[at_] != '\n'))) ++line_;
      if (c != '"') continue;
      if (at_ < text_.size() && text_[at_] == '"') {
        field.plain = false;
        ++at_;
        continue;
      }
      break;
    }
    const std::size_t closed = at_;
    readUnquoted(row);  // what follows the closing quote is kept
    if (at_ != closed) {
      field.plain = false;
      row.clean = false;
    }
  }

  std::string_view text_;
  char delimiter_;
  std::size_t at_;
  std::int64_t line_;
};

// The text of a field: a view into `text` where it stands there as it is,
// else its quotes undone into `scratch`.
std::string_view fieldText(std::string_view text, const RawField& field, ByteBuffer& scratch) {
  if (!field.quoted) return text.substr(field.begin, field.end - field.begin);
  if (field.plain) return text.substr(field.begin + 1, field.end - field.begin - 2);
  scratch.clear();
  std::size_t i = field.begin + 1;
  while (i < field.end) {
    const char c = text[i++];
    if (c != '"') {
      scratch.push_back(c);
    } else if (i < field.end && text[i] == '"') {
      scratch.push_back('"');
      ++i;
    } else {  // the closing quote: the rest is kept as it stands
      scratch.insert(scratch.end(), text.begin() + static_cast<std::ptrdiff_t>(i),
                     text.begin() + static_cast<std::ptrdiff_t>(field.end));
      break;
    }
  }
  return viewOf(scratch);
}

// A whole number in -32768..32767: an optional "-" and digits, nothing else.
bool parseWholeCount(std::string_view text, std::int16_t& count) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (value < -32768 || value > 32767) return false;
  count = static_cast<std::int16_t>(value);
  return true;
}

// --- the header lines -------------------------------------------------------

struct Head {
  char delimiter = 0;  // 0: none named
  bool html = false;
  std::vector<int> nonTextColumns;  // 0-based
  std::size_t end = 0;              // where the rows start
  std::int64_t lines = 0;           // how many lines the header takes
};


std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A header line's key: a letter, then letters, digits, blanks, "_" or "-".
bool isHeadKey(std::string_view key) {
  return !key.empty() && isAsciiLetter(key[0]) && std::all_of(key.begin(), key.end(), [](char c) {
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == ' ' || c == '_' || c == '-';
  });
}

// The delimiter a "#separator:" value names, 0 for none.
char namedDelimiter(std::string_view value) {
  if (value.size() == 1) return value[0];
  value = trimBlanks(value);
  constexpr std::pair<std::string_view, char> kNames[] = {{"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
                                                          {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
  for (const auto& [name, delimiter] : kNames)
    if (equalsAsciiFolded(value, name)) return delimiter;
  return value.size() == 1 ? value[0] : 0;
}

bool isColumnKey(std::string_view key) {
  for (std::string_view name : {"guid column", "notetype column", "deck column", "tags column"})
    if (equalsAsciiFolded(key, name)) return true;
  return false;
}

// Reads the "#key:value" lines at the start of `text`. Returns false with
// `failure` set for a line that names no delimiter or no column.
bool readHead(std::string_view text, Head& head, ReadFailure& failure) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == '#') {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at + 1, end - at - 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !isHeadKey(line.substr(0, colon))) break;
    const std::string_view key = trimBlanks(line.substr(0, colon)), value = line.substr(colon + 1);
    const TextPlace place{TextPlace::Line, head.lines + 1};
    if (equalsAsciiFolded(key, "separator")) {
      head.delimiter = namedDelimiter(value);
      if (head.delimiter == 0 || head.delimiter == '"' || head.delimiter == '\r' || head.delimiter == '\n') {
        failure = {place, convert_text::HeadNamesNoDelimiter};
        return false;
      }
    } else if (equalsAsciiFolded(key, "html")) {
      head.html = equalsAsciiFolded(trimBlanks(value), "true");
    } else if (isColumnKey(key)) {
      const std::string_view number = trimBlanks(value);
      int column = 0;
      const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), column);
      if (error != std::errc() || stop != number.data() + number.size() || column < 1 || column > kMostColumns) {
        failure = {place, convert_text::HeadNamesNoColumn};
        return false;
      }
      head.nonTextColumns.push_back(column - 1);
    }
    at = end;
    if (at < text.size()) at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    ++head.lines;
  }
  head.end = at;
  return true;
}

// --- the choice of the delimiter --------------------------------------------

// How well one delimiter splits the first rows; a higher one is better.
struct Split {
  int cleanRows = 0;   // rows of the usual field count whose quotes are in order
  int rows = 0;        // rows of the usual field count
  int blankLed = 0;    // fields after the first that start with a blank: prose, not columns
  int fieldCount = 0;  // the usual field count, at least 2; 0 when nothing splits
  int sampled = 0;     // rows looked at
  auto key() const { return std::make_tuple(cleanRows, rows, -blankLed, fieldCount); }
};

Split splitBy(std::string_view text, char delimiter, const Head& head) {
  struct Sample {
    int fields;
    bool clean;
    int blankLed;
  };
  std::vector<Sample> samples;
  RowScanner scanner(text, delimiter, head.end, head.lines + 1);
  Row row;
  while (static_cast<int>(samples.size()) < kSampleRows && scanner.next(row)) {
    int blankLed = 0;
    for (std::size_t i = 1; i < row.fields.size(); ++i)
      if (row.fields[i].begin < row.fields[i].end && text[row.fields[i].begin] == ' ') ++blankLed;
    samples.push_back({static_cast<int>(row.fields.size()), row.clean, blankLed});
  }
  Split best;
  best.sampled = static_cast<int>(samples.size());
  for (const Sample& candidate : samples) {
    if (candidate.fields < 2) continue;
    Split split;
    split.fieldCount = candidate.fields;
    split.sampled = best.sampled;
    for (const Sample& sample : samples) {
      if (sample.fields != candidate.fields) continue;
      ++split.rows;
      split.cleanRows += sample.clean;
      split.blankLed += sample.blankLed;
    }
    if (split.key() > best.key()) best = split;
  }
  return best;
}

// The one of tab, semicolon and comma that splits the first rows most
// consistently: the most rows of one field count with their quotes in
// order, then the most rows of it at all, then the fewest fields led by a
// blank, then the most fields, then in that order. 0 when rows exist but
// none splits; one that finds no rows (all blank) when there is one.
char chooseDelimiter(std::string_view text, const Head& head) {
  char chosen = 0;
  Split best;
  for (const char delimiter : {'\t', ';', ','}) {
    const Split split = splitBy(text, delimiter, head);
    if (split.sampled == 0) return delimiter;
    if (split.fieldCount > 0 && (chosen == 0 || split.key() > best.key())) {
      chosen = delimiter;
      best = split;
    }
  }
  return chosen;
}

// --- reading the rows ---------------------------------------------------------

// Which fields of a row become what.
struct Columns {
  std::array<std::size_t, 2> texts{};
  bool counts = false;
  std::array<std::size_t, 2> countFields{};
  std::size_t needed = 0;  // fields a row needs for its texts
};

Columns columnsFor(const DelimitedOptions& options, const Head& head) {
  Columns columns;
  if (options.firstColumn > 0 && options.secondColumn > 0) {
    columns.texts = {static_cast<std::size_t>(options.firstColumn - 1),
                     static_cast<std::size_t>(options.secondColumn - 1)};
  } else {
    std::array<std::size_t, 4> textFields{};
    std::size_t field = 0;
    for (std::size_t& textField : textFields) {
      while (std::find(head.nonTextColumns.begin(), head.nonTextColumns.end(), static_cast<int>(field)) !=
             head.nonTextColumns.end())
        ++field;
      textField = field++;
    }
    columns.texts = {textFields[0], textFields[1]};
    columns.counts = true;
    columns.countFields = {textFields[2], textFields[3]};
  }
  columns.needed = std::max(columns.texts[0], columns.texts[1]) + 1;
  return columns;
}

class RowReader {
 public:
  RowReader(std::string_view text, TextEncoding encoding, bool html, const Columns& columns, PairBuilder& pairs)
      : text_(text), encoding_(encoding), html_(html), columns_(columns), pairs_(pairs), countsSeen_(columns.counts) {}

  void read(const Row& row) {
    mostFields_ = std::max(mostFields_, row.fields.size());
    if (row.fields.size() < columns_.needed) {
      pairs_.skip();
      return;
    }
    std::int16_t counts[2] = {0, 0};
    const bool hasCounts = countsSeen_ && countsOf(row, counts);
    std::string_view texts[2];
    for (int i = 0; i < 2; ++i) {
      texts[i] = fieldText(text_, row.fields[columns_.texts[i]], scratch_[i]);
      if (html_) {
        htmlScratch_[i].clear();
        appendTextOfHtml(texts[i], encoding_, htmlScratch_[i]);
        texts[i] = viewOf(htmlScratch_[i]);
      }
    }
    const bool added = pairs_.addPair(texts[0], texts[1], html_ ? TextEncoding::Utf8 : encoding_, counts[0], counts[1],
                                      {TextPlace::Line, row.line});
    if (added && !hasCounts) countsSeen_ = false;
  }

  // The counts are to be kept: every pair's row had them.
  bool countsSeen() const { return countsSeen_; }
  std::size_t mostFields() const { return mostFields_; }

 private:
  bool countsOf(const Row& row, std::int16_t (&counts)[2]) {
    for (int i = 0; i < 2; ++i) {
      const std::size_t field = columns_.countFields[i];
      if (field >= row.fields.size() ||
          !parseWholeCount(fieldText(text_, row.fields[field], scratch_[2 + i]), counts[i])) {
        counts[0] = counts[1] = 0;
        return false;
      }
    }
    return true;
  }

  std::string_view text_;
  TextEncoding encoding_;
  bool html_;
  const Columns& columns_;
  PairBuilder& pairs_;
  bool countsSeen_;  // every pair so far had counts
  std::size_t mostFields_ = 0;
  ByteBuffer scratch_[4];
  ByteBuffer htmlScratch_[2];
};

}  // namespace

bool readDelimitedText(std::string_view bytes, const DelimitedOptions& options, PairBuilder& pairs,
                       ReadFailure& failure) {
  std::size_t bomLength = 0;
  const FileEncoding fileEncoding = detectFileEncoding(bytes, bomLength);
  ByteBuffer utf8;
  std::string_view text = bytes.substr(bomLength);
  if (fileEncoding == FileEncoding::Utf16LE || fileEncoding == FileEncoding::Utf16BE) {
    appendUtf8FromUtf16(text, fileEncoding == FileEncoding::Utf16BE, utf8);
    text = viewOf(utf8);
  }
  const TextEncoding encoding = fileEncoding == FileEncoding::Cp1252 ? TextEncoding::Cp1252 : TextEncoding::Utf8;

  Head head;
  if (!readHead(text, head, failure)) return false;
  const Columns columns = columnsFor(options, head);
  char delimiter = head.delimiter;
  if (delimiter == 0) delimiter = chooseDelimiter(text, head);
  if (delimiter == 0) {
    failure = {{TextPlace::Line, 0}, convert_text::NoDelimiter};
    return false;
  }

  RowScanner scanner(text, delimiter, head.end, head.lines + 1);
  RowReader reader(text, encoding, head.html, columns, pairs);
  Row row;
  bool headerPending = options.header;
  std::int64_t rows = 0;
  while (scanner.next(row)) {
    if (headerPending) {
      headerPending = false;
      continue;
    }
    ++rows;
    reader.read(row);
  }
  if (rows > 0 && reader.mostFields() < columns.needed) {
    if (options.firstColumn > 0)
      failure = {{TextPlace::Line, 0},
                 convert_text::fill(convert_text::NoSuchColumn,
                                    {std::to_string(columns.needed), std::to_string(reader.mostFields())})};
    else
      failure = {{TextPlace::Line, 0}, convert_text::NoTwoTexts};
    return false;
  }
  if (!reader.countsSeen()) pairs.clearCounts();
  return true;
}

}  // namespace zl
