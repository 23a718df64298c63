#include "state/test_state.h"

namespace zl {

void endTest(TestState& test) {
  test.items.clear();
  test.currentItem = -1;
}

}  // namespace zl
