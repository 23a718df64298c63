#include "quiz/grade.h"

#include <gtest/gtest.h>

#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(Grade, FollowsTheSchoolScale) {
  const char* expected[] = {"6",  "6",  "6", "6",  "5-", "5-", "5",  "5+", "5+", "4-", "4",
                            "4+", "3-", "3", "3+", "2-", "2",  "2+", "1-", "1",  "1+"};
  for (int right = 0; right <= 20; ++right) EXPECT_EQ(gradeFor(right), expected[right]) << right;
  EXPECT_EQ(gradeFor(21), "6");
  EXPECT_EQ(gradeFor(-1), "6");
}

TEST(Grade, RateAndGradeShowTheRightPairs) {
  FakeControls controls;
  showRate(controls, 15);
  showGrade(controls, 15);
  EXPECT_EQ(controls.text(RateValue), "75%");
  EXPECT_EQ(controls.text(GradeValue), "2-");
  showRate(controls, 0);
  EXPECT_EQ(controls.text(RateValue), "0%");
}

}  // namespace
}  // namespace zl
