// Which pairs a new test asks: the 20 of highest priority (never asked
// first, then the smallest difference of right minus wrong, ties to the
// earlier pair), or every pair. The vocabulary list is only read.
#pragma once

#include <cstdint>

#include "test/test_state.h"

namespace zl {

struct Program;

// The priority key of a pair: -32768 for a pair never asked (both counts 0),
// else right minus wrong as a wrapping 16-bit value. Smaller is asked
// sooner.
std::int16_t priorityOf(std::int16_t correctCount, std::int16_t wrongCount);

// Fills the test list for a new test from the list and the option buttons:
// with "Test (20 Vokabeln)" and 20 pairs or more, the 20 items with the
// smallest keys in ascending key order, equal keys in list order (as a
// stable sort would leave them); otherwise every pair in list order, and
// "Alle Vokbeln" is selected without counting as a click.
void buildTestList(Program& program);

}  // namespace zl
