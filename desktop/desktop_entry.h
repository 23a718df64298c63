// The texts the program writes into the desktop's files, the freedesktop.org
// way: desktop entries, with the quoting of their Exec key and the escapes
// of their string values, and the shared-mime-info package that makes
// *.ltk files (in any letter case) a MIME type of their own.
//
// Pure: text in, text out, UTF-8 as the desktop reads it. Nothing fails; a
// path is written so that the desktop reads back exactly that path as one
// argument, whatever characters it holds.
#pragma once

#include <string>
#include <string_view>

namespace zl {

// The name the desktop knows the program by: its desktop entry is
// "zelvo-lingotak.desktop", its icon "zelvo-lingotak".
inline const std::string DesktopId = "zelvo-lingotak";
inline const std::string VocabularyMimeType = "application/x-zelvo-vocabulary";
// The icon of vocabulary files, named after their MIME type.
inline const std::string VocabularyIconName = "application-x-zelvo-vocabulary";

// `argument` as one argument of an Exec key, before the escapes of string
// values: unchanged when it holds none of the characters that a desktop
// entry's Exec key reserves (blanks, quotes, "\", "$", "`", ...), else
// between double quotes, with '"', '`', '$' and '\' escaped by a
// backslash; a '%' is doubled either way.
std::string execArgument(std::string_view argument);

// `value` written as a string value: a backslash doubled, a line break,
// tab or carriage return as \n, \t, \r.
std::string escapeValue(std::string_view value);

// The desktop entry that opens vocabulary files with `program` (a full
// path, or a name found on PATH): Exec is `program` followed by exactly
// " %f", the icon is the program's from the icon theme.
std::string fileTypeEntryText(const std::string& productName, const std::string& program);

// A shortcut on the desktop: it starts `program` without arguments in
// `folder`, with `comment` and the picture of `iconFile` (a full path).
struct Shortcut {
  std::string name;
  std::string comment;
  std::string program;
  std::string folder;
  std::string iconFile;
};
std::string shortcutEntryText(const Shortcut& shortcut);

// The shared-mime-info package of vocabulary files: VocabularyMimeType
// for *.ltk in any letter case, described as "Zelvo Vokabeldatei", with
// VocabularyIconName as its icon.
std::string mimePackageText();

}  // namespace zl
