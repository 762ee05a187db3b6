// The benchmark's DirectDraw port under test: the simulated screen on Linux, Wine's DirectDraw on
// the runner's Xvfb screen under Wine.
#pragma once
#include <memory>

#include "bench/core/direct_draw.h"

namespace vexmark::testing {

class DirectDrawSubject {
 public:
  virtual ~DirectDrawSubject() = default;

  virtual DirectDrawFactory& factory() = 0;
  // Another DirectDraw object of this process takes exclusive full-screen mode, or gives it up.
  virtual void TakeExclusiveMode() = 0;
  virtual void LeaveExclusiveMode() = 0;
  // Whether another object's exclusive mode is reported to this one.
  virtual bool ReportsExclusiveMode() = 0;
};

std::unique_ptr<DirectDrawSubject> MakeDirectDrawSubject();

}  // namespace vexmark::testing
