#include "edit/pair_statistics.h"

#include "app/program.h"
#include "store/cp1252.h"

namespace zl {

std::string pairStatisticsText(const PairView& pair) {
  return "Vokabel: \t\t" + std::string(pair.vocabulary) + "\nÜbersetzung: \t"_w + std::string(pair.translation) +
         "\n\nAnzahl Richtig: \t" + std::to_string(pair.correctCount) + "\nAnzahl Falsch: \t" +
         std::to_string(pair.wrongCount);
}

void showPairStatistics(Program& program) {
  const int row = program.ui.selectedRow();
  if (row < 0 || row >= program.list.size()) return;
  program.ui.messageBox("Statistik der Vokabel", pairStatisticsText(program.list[row]), MessageButtons::Ok,
                        MessageIcon::Information);
}

}  // namespace zl
