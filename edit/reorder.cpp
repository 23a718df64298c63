#include "edit/reorder.h"

#include "edit/entry.h"
#include "edit/texts.h"
#include "state/program.h"
#include "state/texts.h"

namespace zl {

namespace {

// The shared start of both commands; false when the user declined.
bool confirmReorder(Program& program, const std::string& title, const std::string& question,
                    const std::string& message) {
  if (program.dialogs.messageBox(title, question, MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
    return false;
  endRunningTest(program);
  abandonEdit(program.controls, program.edit);
  program.controls.showStatusMessage(message);
  return true;
}

// Empties the list's rows and shows them again, none selected.
void finishReorder(Program& program) {
  PairListView& rows = program.listView;
  rows.setListVisible(false);
  rows.removeAllRows();
  rows.appendRows(static_cast<int>(program.list.size()));
  rows.setListVisible(true);
  program.file.unsaved = 1;
}

}  // namespace

void sortVocabulary(Program& program) {
  if (!confirmReorder(program, edit_text::SortTitle, edit_text::SortQuestion, state_text::Sorting)) return;
  program.list.sortByVocabulary();
  finishReorder(program);
}

void shuffleVocabulary(Program& program) {
  if (!confirmReorder(program, edit_text::ShuffleTitle, edit_text::ShuffleQuestion, edit_text::Shuffling)) return;
  VocabList& list = program.list;
  const std::int64_t size = list.size();
  for (std::int64_t i = 0; i < size; ++i) list.exchange(i, program.random.uniform(size - 1));
  list.layOutTextsInOrder();  // so that a search reads the texts as one block again
  finishReorder(program);
}

}  // namespace zl
