#include "test/test_state.h"

#include "app/program.h"

namespace zl {

void resetTest(Program& program) {
  Ui& ui = program.ui;
  program.test.lastIndex = -1;
  program.test.items.clear();
  program.test.currentItem = -1;
  for (ControlId id : {TestTranslationField, TestVocabularyField, RateValue, GradeValue}) ui.setText(id, "");
  ui.setFieldReadOnly(TestVocabularyField, true);
  ui.setFieldReadOnly(TestTranslationField, true);
  ui.setFocus(NewTestButton);
}

}  // namespace zl
