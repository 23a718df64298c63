// The evaluation of a 20-pair test: the rate of pairs right at the first
// attempt, each worth 5 percent, and the school grade at the end.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

class WindowControls;

// The grade for a number of pairs right: "1+" for 20 down to "6" below 4.
std::string gradeFor(std::int32_t rightCount);

// RateValue := `rightCount` x 5, then "%".
void showRate(WindowControls& ui, std::int32_t rightCount);
// GradeValue := the grade of `rightCount`.
void showGrade(WindowControls& ui, std::int32_t rightCount);

}  // namespace zl
