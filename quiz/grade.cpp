#include "quiz/grade.h"

#include <array>

#include "platform/ui.h"
#include "state/controls.h"

namespace zl {

std::string gradeFor(std::int32_t rightCount) {
  // Index: pairs right, 4 to 20; grade 5 spans two pairs at each end.
  static constexpr std::array<const char*, 17> kGrades = {
      "5-", "5-", "5",  "5+", "5+",                                          // 4 to 8
      "4-", "4",  "4+", "3-", "3",  "3+", "2-", "2", "2+", "1-", "1", "1+",  // 9 to 20
  };
  if (rightCount < 4 || rightCount > 20) return "6";
  return kGrades[static_cast<std::size_t>(rightCount - 4)];
}

void showRate(WindowControls& ui, std::int32_t rightCount) { ui.setText(RateValue, std::to_string(rightCount * 5) + "%"); }

void showGrade(WindowControls& ui, std::int32_t rightCount) { ui.setText(GradeValue, gradeFor(rightCount)); }

}  // namespace zl
