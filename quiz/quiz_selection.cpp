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
  TestList& items = test.items;
  items.clear();
  const bool twenty = test.options.twentyPairs, askForeign = test.options.askForeign;
  if (twenty)
    items.reserve(TestSize + 1);
  else
    items.reserve(static_cast<std::size_t>(list.size()));
  // One walk over the pairs; for 20 pairs it keeps the 20 that a stable
  // sort would put first, so a million pairs need no sort of a million items.
  std::int64_t askable = 0;
  for (std::int64_t i = 0; i < list.size(); ++i) {
    const PairSpan& pair = list.spanAt(i);
    // A solution longer than the answer field holds could never be typed,
    // so the test could never end: such a pair is not asked.
    if ((askForeign ? pair.vocabularyLength : pair.translationLength) > MaxFieldText) continue;
    ++askable;
    const TestItem item{static_cast<std::int32_t>(i), priorityOf(pair.correctCount, pair.wrongCount), 0};
    if (!twenty) {
      items.push_back(item);
      continue;
    }
    if (items.size() == TestSize && !asksSooner(item, items.front())) continue;
    items.push_back(item);
    std::push_heap(items.begin(), items.end(), asksSooner);
    if (items.size() > TestSize) {
      std::pop_heap(items.begin(), items.end(), asksSooner);
      items.pop_back();
    }
  }
  if (!twenty) return;
  if (askable >= static_cast<std::int64_t>(TestSize)) {
    std::sort_heap(items.begin(), items.end(), asksSooner);
    return;
  }
  // Fewer than 20: all of them, in list order, as "Alle Vokbeln" asks them.
  std::sort(items.begin(), items.end(), [](const TestItem& a, const TestItem& b) { return a.pairIndex < b.pairIndex; });
  test.options.twentyPairs = false;  // the window shows it after the event
}

}  // namespace zl
