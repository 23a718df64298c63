// The texts that more than one command folder shows, in Windows-1252 as the
// window takes them. Each folder keeps its own texts in its own texts.h;
// a text moves here when a second folder needs it.
#pragma once

#include <string>

#include "store/cp1252.h"

namespace zl::state_text {

// The status message of a sort: of the list, and of every new test.
inline const std::string Sorting = "Sortieren...";

// The limit of pairs per file, reached by typing or by merging.
inline const std::string LimitTitle = "Maximale Dateigröße"_w;
inline const std::string LimitText = "Maximal 30000 Einträge pro Datei!"_w;

// The title of the second start's message and of a failed write of the
// file-type association.
inline const std::string ErrorTitle = "Fehler";

// The title of every refused input, on the entry page and in a test.
inline const std::string InputErrorTitle = "Eingabefehler";

}  // namespace zl::state_text
