// "Statistik der Vokabel" in the list's popup: the selected pair's two words
// and how often it was answered right and wrong. Changes nothing.
#pragma once

#include <string>

namespace zl {

struct Program;
struct PairView;

// The text of the box, its values lined up by tabs; of a word longer than
// a message box line shows, only the start that shows.
std::string pairStatisticsText(const PairView& pair);

// Shows the statistics of the selected pair; nothing without a selection.
void showPairStatistics(Program& program);

}  // namespace zl
