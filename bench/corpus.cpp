#include "bench/corpus.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "store/cp1252.h"

namespace zl::bench {

namespace {

namespace fs = std::filesystem;

const char* const DictionarySource = "/usr/share/trans/de-en";

fs::path benchFolder() {
  const fs::path folder = fs::temp_directory_path() / "zl-file-bench";
  fs::create_directories(folder);
  return folder;
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0;;) {
    const std::size_t next = text.find(separator, at);
    parts.push_back(text.substr(at, next - at));
    if (next == std::string_view::npos) return parts;
    at = next + separator.size();
  }
}

// The text in Windows-1252; false when a character does not fit.
bool toCp1252(std::string_view utf8, std::string& out) {
  out = cp1252FromUtf8(utf8);
  return utf8FromCp1252(out) == utf8;
}

// "Haus {n} | Häuser {pl} :: house | houses": a line of the dictionary,
// its German and English halves split into the same number of parts.
void appendPairsOf(std::string_view line, std::string& file, std::int64_t& pairs) {
  if (line.empty() || line.front() == '#') return;
  const std::vector<std::string_view> halves = split(line, " :: ");
  if (halves.size() != 2) return;
  const std::vector<std::string_view> german = split(halves[0], " | ");
  const std::vector<std::string_view> english = split(halves[1], " | ");
  std::string vocabulary, translation;
  for (std::size_t i = 0; i < german.size() && i < english.size(); ++i) {
    if (english[i].empty() || german[i].empty()) continue;
    if (!toCp1252(english[i], vocabulary) || !toCp1252(german[i], translation)) continue;
    file += vocabulary + "\r\n" + translation + "\r\n" + std::to_string(pairs % 5) + "\r\n" +
            std::to_string(pairs % 3) + "\r\n";
    ++pairs;
  }
}

// The dictionary once, converted.
const std::string& dictionaryBytes(std::int64_t& pairs) {
  static std::int64_t count = 0;
  static const std::string bytes = [] {
    std::ifstream source(DictionarySource);
    if (!source) {
      std::fprintf(stderr, "%s is missing: install Debian's trans-de-en (bench/run.sh does)\n", DictionarySource);
      std::exit(1);
    }
    std::string file;
    for (std::string line; std::getline(source, line);) appendPairsOf(line, file, count);
    return file;
  }();
  pairs = count;
  return bytes;
}

}  // namespace

std::string generatedFile(std::int64_t pairs) {
  const fs::path path = benchFolder() / ("pairs-" + std::to_string(pairs) + ".ltk");
  if (!fs::exists(path)) {
    std::string bytes;
    for (std::int64_t i = 0; i < pairs; ++i) {
      bytes += "word" + std::to_string(i % 100000) + "\r\nWort" + std::to_string(i % 99991) + "\r\n" +
               std::to_string(i % 7) + "\r\n" + std::to_string(i % 3) + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << bytes;
  }
  return path.string();
}

std::string dictionaryFile(std::int64_t pairs) {
  const fs::path path =
      benchFolder() / (pairs == WholeDictionary ? "dictionary.ltk" : "dictionary-" + std::to_string(pairs) + ".ltk");
  if (!fs::exists(path)) {
    std::int64_t perCopy = 0;
    const std::string& once = dictionaryBytes(perCopy);
    std::ofstream out(path, std::ios::binary);
    if (pairs == WholeDictionary) {
      out << once;
    } else {
      // Whole copies, then the pairs of a last partial copy up to `pairs`.
      for (std::int64_t done = 0; done + perCopy <= pairs; done += perCopy) out << once;
      std::size_t cut = 0;
      for (std::int64_t left = pairs % perCopy * 4; left > 0; --left) cut = once.find("\r\n", cut) + 2;
      out << std::string_view(once).substr(0, cut);
    }
  }
  return path.string();
}

}  // namespace zl::bench
