#include "files/clear_store.h"

#include "state/program.h"

namespace zl {

void clearStore(Program& program) {
  Ui& ui = program.ui;
  program.file.currentPath.clear();
  program.list.clear();
  ui.removeAllRows();
  ui.setText(EntryTranslationField, "");
  ui.setText(EntryVocabularyField, "");
  resetTest(ui, program.test);
  program.file.unsaved = 0;
  program.edit.editMode = false;
  ui.setEnabled(EditButton, false);
  ui.setEnabled(DeleteButton, false);
}

}  // namespace zl
