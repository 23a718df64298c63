#include "edit/pair_statistics.h"

#include "edit/texts.h"
#include "state/program.h"

namespace zl {

std::string pairStatisticsText(const PairView& pair) {
  return text::StatisticsVocabulary + std::string(shownStart(pair.vocabulary)) + text::StatisticsTranslation +
         std::string(shownStart(pair.translation)) + text::StatisticsRight + std::to_string(pair.correctCount) +
         text::StatisticsWrong + std::to_string(pair.wrongCount);
}

void showPairStatistics(Program& program) {
  const int row = program.ui.selectedRow();
  if (row < 0 || row >= program.list.size()) return;
  program.ui.messageBox(text::StatisticsTitle, pairStatisticsText(program.list[row]), MessageButtons::Ok,
                        MessageIcon::Information);
}

}  // namespace zl
