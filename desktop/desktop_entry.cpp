#include "desktop/desktop_entry.h"

#include "desktop/texts.h"

namespace zl {

namespace {

std::string line(std::string_view key, std::string_view value) {
  return std::string(key) + "=" + std::string(value) + "\n";
}

// The head of every entry we write: a program, shown under `name`.
std::string applicationHead(const std::string& name) {
  return "[Desktop Entry]\n" + line("Type", "Application") + line("Name", escapeValue(name));
}

}  // namespace

std::string execArgument(std::string_view argument) {
  static constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
  static constexpr std::string_view escapedInQuotes = "\"`$\\";
  const bool quoted = argument.find_first_of(reserved) != std::string_view::npos;
  std::string out = quoted ? "\"" : "";
  for (const char c : argument) {
    if (c == '%') out += '%';
    if (quoted && escapedInQuotes.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  if (quoted) out += '"';
  return out;
}

std::string escapeValue(std::string_view value) {
  std::string out;
  for (const char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string fileTypeEntryText(const std::string& productName, const std::string& program) {
  std::string entry = applicationHead(productName);
  entry += line("GenericName", desktop_text::GenericNameEnglish);
  entry += line("GenericName[de]", desktop_text::GenericNameGerman);
  entry += line("Keywords", desktop_text::KeywordsEnglish);
  entry += line("Keywords[de]", desktop_text::KeywordsGerman);
  entry += line("Exec", escapeValue(execArgument(program) + " %f"));
  entry += line("Icon", DesktopId);
  entry += line("Terminal", "false");
  entry += line("MimeType", VocabularyMimeType + ";");
  entry += line("Categories", "Education;Languages;");
  return entry;
}

std::string shortcutEntryText(const Shortcut& shortcut) {
  std::string entry = applicationHead(shortcut.name);
  entry += line("Comment", escapeValue(shortcut.comment));
  entry += line("Exec", escapeValue(execArgument(shortcut.program)));
  entry += line("Path", escapeValue(shortcut.folder));
  entry += line("Icon", escapeValue(shortcut.iconFile));
  entry += line("Terminal", "false");
  return entry;
}

std::string mimePackageText() {
  // Globs match in any letter case unless marked case-sensitive, so *.ltk
  // also takes the older files' .LTK.
  std::string package = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  package += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  package += "  <mime-type type=\"" + VocabularyMimeType + "\">\n";
  package += "    <comment>" + desktop_text::VocabularyFileDescription + "</comment>\n";
  package += "    <sub-class-of type=\"text/plain\"/>\n";
  package += "    <icon name=\"" + VocabularyIconName + "\"/>\n";
  package += "    <glob pattern=\"*.ltk\"/>\n";
  package += "  </mime-type>\n";
  package += "</mime-info>\n";
  return package;
}

}  // namespace zl
