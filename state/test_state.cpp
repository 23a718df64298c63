#include "state/test_state.h"

#include "platform/ui.h"
#include "state/controls.h"

namespace zl {

void resetTest(WindowControls& ui, TestState& test) {
  test.items.clear();
  test.currentItem = -1;
  for (ControlId id : {TestTranslationField, TestVocabularyField, RateValue, GradeValue}) ui.setText(id, "");
  ui.setFieldReadOnly(TestVocabularyField, true);
  ui.setFieldReadOnly(TestTranslationField, true);
  // Only where the user sees it: a focus on the hidden test page would
  // swallow what is typed on the entry page (after an open, a delete, a sort).
  if (ui.currentPage() == TestPage) ui.setFocus(NewTestButton);
}

}  // namespace zl
