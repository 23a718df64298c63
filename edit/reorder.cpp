#include "edit/reorder.h"

#include "app/interface_state.h"
#include "app/program.h"
#include "edit/entry.h"
#include "store/cp1252.h"

namespace zl {

namespace {

// The shared start of both commands; false when the user declined.
bool confirmReorder(Program& program, const std::string& title, const std::string& question,
                    const std::string& message) {
  if (program.ui.messageBox(title, question, MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
    return false;
  resetTest(program);
  abandonEdit(program);
  showStatusMessage(program, message);
  return true;
}

void finishReorder(Program& program) {
  refillListView(program);
  program.file.unsaved = 1;
}

}  // namespace

void sortVocabulary(Program& program) {
  if (!confirmReorder(program, "Vokabeln Sortieren",
                      "Möchten Sie die Vokabeln in alphabetischer Reihenfolge sortieren?"_w, "Sortieren..."))
    return;
  program.list.sortByVocabulary();
  finishReorder(program);
}

void shuffleVocabulary(Program& program) {
  if (!confirmReorder(program, "Vokabeln Mischen", "Möchten Sie die Vokabeln mischen?"_w, "Mischen...")) return;
  VocabList& list = program.list;
  const std::int64_t size = list.size();
  for (std::int64_t i = 0; i < size; ++i) list.exchange(i, program.random.uniform(size - 1));
  finishReorder(program);
}

void refillListView(Program& program) {
  Ui& ui = program.ui;
  ui.setListVisible(false);
  ui.removeAllRows();
  ui.appendRows(static_cast<int>(program.list.size()));
  ui.setListVisible(true);
}

}  // namespace zl
