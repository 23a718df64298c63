#include "convert/command_line.h"

#include <charconv>

#include "convert/texts.h"

namespace zl {

namespace {

using convert_text::fill;

// "A,B" split at its comma; false when it has none or either side is empty.
bool splitPair(const std::string& value, std::string& first, std::string& second) {
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == value.size()) return false;
  first = value.substr(0, comma);
  second = value.substr(comma + 1);
  return first != second;
}

bool columnNumber(const std::string& text, int& number) {
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && at == end && number >= 1;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  CommandLine parse() {
    std::vector<std::string> files;
    bool optionsEnded = false;
    std::optional<Format> to;
    for (next_ = 0; next_ < arguments_.size() && line_.error.empty();) {
      const std::string argument = arguments_[next_++];
      if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
        files.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (argument == "--help" || argument == "-h") {
        line_.mode = CommandLine::Help;
        return line_;
      } else {
        option(argument, files, to);
      }
    }
    if (!line_.error.empty()) return line_;
    if (line_.mode == CommandLine::Import) {
      if (!files.empty()) return wrong(convert_text::Usage);
      return line_;
    }
    if (files.size() != 2) return wrong(convert_text::Usage);
    line_.input = files[0];
    line_.output = files[1];
    if (to)
      line_.to = *to;
    else if (!formatOfPath(line_.output, line_.to))
      return wrong(fill(convert_text::OutputFormatUnknown, {line_.output}));
    line_.mode = CommandLine::Convert;
    return line_;
  }

 private:
  void option(std::string name, std::vector<std::string>& files, std::optional<Format>& to) {
    std::optional<std::string> inlineValue;
    if (const std::size_t equals = name.find('='); equals != std::string::npos) {
      inlineValue = name.substr(equals + 1);
      name.resize(equals);
    }
    const bool isFlag = name == "--header" || name == "--replace-unmappable" || name == "--force";
    if (isFlag && inlineValue) {
      wrong(fill(convert_text::UnknownOption, {name + "=" + *inlineValue}));
      return;
    }
    if (name == "--header") {
      line_.options.delimited.header = true;
      return;
    }
    if (name == "--replace-unmappable") {
      line_.options.replaceUnmappable = true;
      return;
    }
    if (name == "--force") {
      line_.options.existing = ExistingFile::Replace;
      return;
    }
    if (name != "--to" && name != "--from" && name != "--columns" && name != "--languages" && name != "--open" &&
        name != "--delimiter" && name != "--fields" && name != "--deck") {
      wrong(fill(convert_text::UnknownOption, {name}));
      return;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (next_ < arguments_.size()) {
      value = arguments_[next_++];
    } else {
      wrong(fill(convert_text::MissingValue, {name}));
      return;
    }
    if (name == "--open") {
      line_.mode = CommandLine::Import;
      line_.input = value;
      if (!files.empty()) wrong(convert_text::Usage);
    } else if (name == "--to" || name == "--from") {
      Format format;
      if (!formatOfName(value, format)) {
        wrong(fill(convert_text::UnknownFormat, {value}));
      } else if (name == "--to") {
        to = format;
      } else {
        line_.options.from = format;
      }
    } else if (name == "--delimiter") {
      if (value == ";" || value == ",")
        line_.options.csvDelimiter = value[0];
      else
        wrong(convert_text::BadDelimiter);
    } else if (name == "--columns") {
      std::string first, second;
      DelimitedOptions& columns = line_.options.delimited;
      if (!splitPair(value, first, second) || !columnNumber(first, columns.firstColumn) ||
          !columnNumber(second, columns.secondColumn))
        wrong(convert_text::BadColumns);
    } else if (name == "--fields") {
      AnkiOptions& anki = line_.options.anki;
      if (!splitPair(value, anki.firstField, anki.secondField)) wrong(convert_text::BadFields);
    } else if (name == "--deck") {
      line_.options.anki.deck = value;
      if (value.empty()) wrong(convert_text::BadDeck);
    } else if (!splitPair(value, line_.options.kvtml.firstLanguage, line_.options.kvtml.secondLanguage)) {
      wrong(convert_text::BadLanguages);
    }
  }

  CommandLine wrong(const std::string& error) {
    line_.mode = CommandLine::Wrong;
    if (line_.error.empty()) line_.error = error;
    return line_;
  }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  CommandLine line_;
};

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) { return Parser(arguments).parse(); }

}  // namespace zl
