// The state of the test engine: the pairs still to be asked in the running
// test and its counters. `lastIndex()` is -1 while no test runs, otherwise
// the number of remaining items minus one, which also tells the window
// whether a test runs. `endTest` ends a test without evaluation; it knows
// nothing of the window and cannot fail (what the test page shows then is
// quiz/'s, see `endRunningTest` in state/program.h).
#pragma once

#include <cstdint>
#include <vector>

namespace zl {

struct TestItem {
  std::int32_t pairIndex = 0;  // position in VocabList; 32 bits, so big files test correctly
  std::int16_t priority = 0;   // smaller is asked sooner
  std::uint8_t statsLocked = 0;
};

using TestList = std::vector<TestItem>;

// How the next test asks, as the user set it on the test page; the window
// starts with all three on.
struct TestOptions {
  bool twentyPairs = true;  // "Test (20 Vokabeln)", else "Alle Vokbeln"
  bool askForeign = true;   // "Fremdsprache abfragen": the foreign word is asked
  bool ignoreCase = true;   // "GROSS/klein ignorieren"
};

struct TestState {
  TestOptions options;
  TestList items;
  // Items remaining - 1; -1 while no test runs.
  std::int32_t lastIndex() const { return static_cast<std::int32_t>(items.size()) - 1; }
  std::int32_t testRightCount = 0;  // pairs right at the first attempt, without the tip
  std::int32_t currentItem = -1;    // position in `items` of the item being asked
};

// Ends any running test without evaluation: empties the test list, and no
// item is being asked. The options and `testRightCount` are left alone.
void endTest(TestState& test);

}  // namespace zl
