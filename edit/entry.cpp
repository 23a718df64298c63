#include "edit/entry.h"

#include "edit/texts.h"
#include "state/program.h"
#include "state/texts.h"
#include "state/window_rules.h"

namespace zl {

namespace {

void disableRowButtons(WindowControls& ui) {
  ui.setEnabled(EditButton, false);
  ui.setEnabled(DeleteButton, false);
}

}  // namespace

void acceptEntry(Program& program) {
  WindowControls& ui = program.controls;
  PairListView& rows = program.listView;
  EditState& edit = program.edit;
  const std::string vocabulary = ui.text(EntryVocabularyField);
  const std::string translation = ui.text(EntryTranslationField);
  if (vocabulary.empty() || translation.empty()) {
    program.dialogs.messageBox(state_text::InputErrorTitle, edit_text::BothWordsNeeded, MessageButtons::Ok,
                               MessageIcon::Warning);
    ui.setFocus(translation.empty() ? EntryTranslationField : EntryVocabularyField);
  } else if (!edit.editMode && program.list.size() >= MaxEntries) {
    program.dialogs.messageBox(state_text::LimitTitle, state_text::LimitText, MessageButtons::Ok, MessageIcon::Warning);
  } else {
    if (edit.editMode) {
      program.list.setTexts(edit.editRow, vocabulary, translation);
      program.list.setCounts(edit.editRow, 0, 0);  // an edited pair starts afresh
      rows.updateRow(edit.editRow);
      rows.revealListRow(edit.editRow, true);
      edit.editMode = false;
    } else {
      KeepListPosition keep(program.list);  // the pair a test asks stays current
      program.list.append({vocabulary, translation, 0, 0});
      rows.appendRows(1);
      rows.revealListRow(static_cast<int>(program.list.size() - 1), true);
    }
    program.file.unsaved = 1;
    ui.setText(EntryVocabularyField, "");
    ui.setText(EntryTranslationField, "");
    ui.setFocus(EntryVocabularyField);
  }
  disableRowButtons(ui);
}

void beginEdit(Program& program) {
  WindowControls& ui = program.controls;
  const int row = program.listView.selectedRow();
  if (row < 0) return;
  disableRowButtons(ui);
  const PairView pair = program.list[row];
  // The fields would hold only the start of such a text, and "Übernehmen"
  // would store that start in place of the whole.
  if (pair.vocabulary.size() > MaxFieldText || pair.translation.size() > MaxFieldText) {
    program.dialogs.messageBox(edit_text::TooLongTitle, edit_text::TooLongToEdit, MessageButtons::Ok,
                               MessageIcon::Warning);
    return;
  }
  program.edit.editRow = row;
  ui.setText(EntryVocabularyField, std::string(pair.vocabulary));
  ui.setText(EntryTranslationField, std::string(pair.translation));
  program.listView.clearSelection();
  ui.setFocus(EntryVocabularyField);
  program.edit.editMode = true;
}

void deleteSelectedEntry(Program& program) {
  PairListView& rows = program.listView;
  disableRowButtons(program.controls);
  const Answer answer = program.dialogs.messageBox(edit_text::DeleteTitle, edit_text::DeleteQuestion,
                                                   MessageButtons::YesNo, MessageIcon::Error);
  const int row = rows.selectedRow();
  if (answer == Answer::Yes && row >= 0) {
    program.edit.editRow = row;
    program.list.select(row);
    program.list.removeCurrent();
    rows.removeRow(row);
    program.file.unsaved = 1;
    endRunningTest(program);  // the positions of the following pairs have changed
  }
  rows.clearSelection();
  program.controls.setFocus(EntryVocabularyField);
}

void abandonEdit(WindowControls& ui, EditState& edit) {
  edit.editMode = false;
  disableRowButtons(ui);
}

}  // namespace zl
