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
  // Only where the user sees it: a focus on the hidden test page would
  // swallow what is typed on the entry page (after an open, a delete, a sort).
  if (ui.currentPage() == TestPage) ui.setFocus(NewTestButton);
}

}  // namespace zl
