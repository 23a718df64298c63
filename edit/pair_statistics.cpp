#include "edit/pair_statistics.h"

#include "edit/texts.h"
#include "state/program.h"
#include "state/window_rules.h"

namespace zl {

std::string pairStatisticsText(const PairView& pair) {
  return edit_text::StatisticsVocabulary + std::string(shownStart(pair.vocabulary)) + edit_text::StatisticsTranslation +
         std::string(shownStart(pair.translation)) + edit_text::StatisticsRight + std::to_string(pair.correctCount) +
         edit_text::StatisticsWrong + std::to_string(pair.wrongCount);
}

void showPairStatistics(Program& program) {
  const int row = program.listView.selectedRow();
  if (row < 0 || row >= program.list.size()) return;
  program.dialogs.messageBox(edit_text::StatisticsTitle, pairStatisticsText(program.list[row]), MessageButtons::Ok,
                             MessageIcon::Information);
}

}  // namespace zl
