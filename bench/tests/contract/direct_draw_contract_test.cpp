// What the capture loop learns from DirectDraw: nothing on a quiet screen, and another object's
// exclusive mode while it lasts, where the system reports it.
#include <gtest/gtest.h>

#include "direct_draw_subject.h"

namespace vexmark::testing {
namespace {

TEST(VexmarkDirectDrawContractTest, AQuietScreenIsOkAndExclusiveModeIsReportedWhileItLasts) {
  auto subject = MakeDirectDrawSubject();
  std::unique_ptr<DirectDraw7> draw = subject->factory().Create();
  ASSERT_NE(draw, nullptr);
  EXPECT_EQ(draw->SetCooperativeLevelNormal(), kDdOk);
  EXPECT_EQ(draw->TestCooperativeLevel(), kDdOk);

  subject->TakeExclusiveMode();
  EXPECT_EQ(draw->TestCooperativeLevel(),
            subject->ReportsExclusiveMode() ? kDdErrExclusiveModeAlreadySet : kDdOk);
  subject->LeaveExclusiveMode();
  EXPECT_EQ(draw->TestCooperativeLevel(), kDdOk);
  // A second object of the same process opens beside the first.
  std::unique_ptr<DirectDraw7> second = subject->factory().Create();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->SetCooperativeLevelNormal(), kDdOk);
  EXPECT_EQ(second->TestCooperativeLevel(), kDdOk);
}

}  // namespace
}  // namespace vexmark::testing
