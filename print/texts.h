// Every text the printouts print or show: in UTF-8 as the printer takes
// them; the status message, for the window, is plain ASCII and so the same
// in Windows-1252.
#pragma once

#include <string>

namespace zl::print_text {

// The names of the two print jobs, which the printer shows in its queue
// (and a PDF file as its title).
inline const std::string ListDocumentName = "Vokabelliste";
inline const std::string HelpDocumentName = "Zelvo Lingotak Hilfe";

// The status message while the list prints.
inline const std::string Printing = "Drucken...";

// The head of every page of the list: the file and the number of pairs.
inline const std::string FileHead = "Vokabeldatei";
inline const std::string CountHead = "Anzahl der Vokabeln";
inline const std::string HeadSeparator = " : ";

// The column heads.
inline const std::string VocabularyColumn = "Vokabel";
inline const std::string TranslationColumn = "Übersetzung";
inline const std::string RightColumn = "Richtig";
inline const std::string WrongColumn = "Falsch";

// The footer: "Seite: 3 von 12".
inline const std::string PageFooter = "Seite: ";
inline const std::string PageOf = " von ";

}  // namespace zl::print_text
