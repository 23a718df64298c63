#include "edit/search.h"

#include "edit/entry.h"
#include "edit/folded_search.h"
#include "edit/texts.h"
#include "state/program.h"

namespace zl {

void searchList(Program& program) {
  WindowControls& ui = program.controls;
  PairListView& rows = program.listView;
  EditState& edit = program.edit;
  abandonEdit(ui, edit);
  const std::string typed = ui.text(EntryVocabularyField);
  const std::string term = lowerCp1252(typed.empty() ? ui.text(EntryTranslationField) : typed);
  if (term != edit.searchTerm) {
    edit.searchTerm = term;
    edit.searchPosition = 0;
  }
  rows.clearSelection();
  // After deletions the continuation point may lie past the end: start over.
  if (edit.searchPosition > program.list.size()) edit.searchPosition = 0;
  const std::int64_t row = firstMatchingPair(program.list, edit.searchPosition, term);
  if (row >= 0) {
    edit.searchPosition = static_cast<std::int32_t>(row + 1);
    rows.revealListRow(static_cast<int>(row), true);
    ui.setFocus(VocabListView);
    return;
  }
  edit.searchPosition = 0;
  program.dialogs.messageBox(edit_text::SearchFailedTitle, edit_text::SearchFailed, MessageButtons::Ok,
                             MessageIcon::Warning);
}

bool searchPossible(Program& program) {
  const WindowControls& ui = program.controls;
  const bool oneKeyTyped = ui.text(EntryVocabularyField).empty() != ui.text(EntryTranslationField).empty();
  const bool possible = ui.currentPage() == EntryPage && !program.list.empty() && oneKeyTyped;
  if (!possible) program.edit.searchPosition = 0;
  return possible;
}

}  // namespace zl
