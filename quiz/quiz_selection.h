// Which pairs a new test asks: the 20 of highest priority (never asked
// first, then the smallest difference of right minus wrong, ties to the
// earlier pair), or every pair. The vocabulary list is only read.
#pragma once

#include <cstdint>

#include "state/test_state.h"

namespace zl {

class WindowControls;
class VocabList;

// The priority key of a pair: -32768 for a pair never asked (both counts 0),
// else right minus wrong as a wrapping 16-bit value. Smaller is asked
// sooner.
std::int16_t priorityOf(std::int16_t correctCount, std::int16_t wrongCount);

// Fills `test` for a new test from `list` and the option buttons:
// with "Test (20 Vokabeln)" and 20 pairs or more, the 20 items with the
// smallest keys in ascending key order, equal keys in list order (as a
// stable sort would leave them); otherwise every pair in list order, and
// "Alle Vokbeln" is selected without counting as a click. A pair whose
// solution (the side "Fremdsprache abfragen" asks for) is longer than the
// answer field holds (MaxFieldText) is left out and not counted: it could
// never be answered. No pair left gives an empty test.
void buildTestList(WindowControls& ui, const VocabList& list, TestState& test);

}  // namespace zl
