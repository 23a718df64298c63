#include "files/clear_store.h"

#include "state/program.h"

namespace zl {

void clearStore(Program& program) {
  WindowControls& ui = program.controls;
  program.file.currentPath.clear();
  program.list.clear();
  program.listView.removeAllRows();
  ui.setText(EntryTranslationField, "");
  ui.setText(EntryVocabularyField, "");
  endRunningTest(program);
  program.file.unsaved = 0;
  program.edit.editMode = false;
  ui.setEnabled(EditButton, false);
  ui.setEnabled(DeleteButton, false);
}

}  // namespace zl
