// The evaluation of a 20-pair test: the rate of pairs right at the first
// attempt, each worth 5 percent, and the school grade at the end.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

struct Program;

// The grade for a number of pairs right: "1+" for 20 down to "6" below 4.
std::string gradeFor(std::int32_t rightCount);

// RateValue := right pairs x 5, then "%".
void showRate(Program& program);
// GradeValue := the grade of the right pairs.
void showGrade(Program& program);

}  // namespace zl
