#include "quiz/quiz_selection.h"

#include <algorithm>

#include "platform/ui.h"
#include "state/controls.h"
#include "state/texts.h"
#include "state/window_rules.h"
#include "store/vocab_store.h"

namespace zl {

namespace {

constexpr std::size_t TestSize = 20;

// The order a stable sort by priority gives: by key, then by list position.
bool asksSooner(const TestItem& a, const TestItem& b) {
  return a.priority != b.priority ? a.priority < b.priority : a.pairIndex < b.pairIndex;
}

}  // namespace

std::int16_t priorityOf(std::int16_t correctCount, std::int16_t wrongCount) {
  if (correctCount == 0 && wrongCount == 0) return -32768;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(correctCount) - static_cast<std::uint16_t>(wrongCount));
}

void buildTestList(WindowControls& ui, const VocabList& list, TestState& test) {
  ui.showStatusMessage(state_text::Sorting);
  test.items.clear();
  const auto itemAt = [&](std::int64_t i) {
    const PairView pair = list[i];
    return TestItem{static_cast<std::int32_t>(i), priorityOf(pair.correctCount, pair.wrongCount), 0};
  };
  // A solution longer than the answer field holds could never be typed, so
  // the test could never end: such a pair is not asked.
  const bool askForeign = test.options.askForeign;
  const auto askable = [&](std::int64_t i) {
    const PairView pair = list[i];
    return (askForeign ? pair.vocabulary : pair.translation).size() <= MaxFieldText;
  };
  std::int64_t askableCount = 0;
  for (std::int64_t i = 0; i < list.size(); ++i) askableCount += askable(i) ? 1 : 0;

  if (test.options.twentyPairs && askableCount >= static_cast<std::int64_t>(TestSize)) {
    // One pass keeping the 20 that a stable sort would put first, so a
    // million pairs need no sort of a million items.
    TestList& best = test.items;
    best.reserve(TestSize + 1);
    for (std::int64_t i = 0; i < list.size(); ++i) {
      if (!askable(i)) continue;
      const TestItem item = itemAt(i);
      if (best.size() == TestSize && !asksSooner(item, best.front())) continue;
      best.push_back(item);
      std::push_heap(best.begin(), best.end(), asksSooner);
      if (best.size() > TestSize) {
        std::pop_heap(best.begin(), best.end(), asksSooner);
        best.pop_back();
      }
    }
    std::sort_heap(best.begin(), best.end(), asksSooner);
  } else {
    test.items.reserve(static_cast<std::size_t>(askableCount));
    for (std::int64_t i = 0; i < list.size(); ++i)
      if (askable(i)) test.items.push_back(itemAt(i));
    test.options.twentyPairs = false;  // the window shows it after the event
  }
}

}  // namespace zl
