// The help text of the help page: a German RTF document (app/help/hilfe.rtf,
// Windows-1252 with CR LF line ends), built into the program. Read it with
// readRtf (app/rtf_reader.h). Constant data, cannot fail.
#pragma once

#include <span>
#include <string_view>

namespace zl {

// The document's bytes, as the file holds them.
std::span<const unsigned char> embeddedHelpDocument();

inline std::string_view helpDocumentRtf() {
  const std::span<const unsigned char> bytes = embeddedHelpDocument();
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace zl
