// Every text a test shows, in Windows-1252 as the window takes them.
#pragma once

#include <string>

#include "platform/ui.h"
#include "state/window_rules.h"
#include "store/cp1252.h"

namespace zl::quiz_text {

inline const std::string WrongAnswer = "Das war leider falsch!";
inline const std::string AnswerNeeded = "Bitte geben Sie ein Wort in\ndas entsprechende Feld ein!";
inline const std::string NewTestTitle = "Neuer Test";
inline const std::string NothingToAsk = "Die Vokabeldatei enthält noch keine Vokabeln,\nes gibt nichts abzufragen."_w;
// "Neuer Test" on a file whose every answer is longer than a field holds.
inline const std::string NoneFitsAField = "Keine Antwort dieser Vokabeldatei passt in ein Eingabefeld\n(höchstens "_w +
                                          std::to_string(MaxFieldText) + " Zeichen), es gibt nichts abzufragen.";
// Kept as written ("Tip", one p): the title of the box that shows the solution.
inline const std::string TipTitle = "Tip";

}  // namespace zl::quiz_text
