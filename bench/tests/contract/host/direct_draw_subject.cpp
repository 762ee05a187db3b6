#include "direct_draw_subject.h"

#include "bench/sim/sim_direct_draw.h"
#include "bench/sim/sim_screen.h"

namespace vexmark::testing {
namespace {

class SimDirectDrawSubject : public DirectDrawSubject {
 public:
  DirectDrawFactory& factory() override { return factory_; }
  void TakeExclusiveMode() override { screen_.set_exclusive_mode(true); }
  void LeaveExclusiveMode() override { screen_.set_exclusive_mode(false); }
  // As Windows does; Wine does not, so this stays the sim's own.
  bool ReportsExclusiveMode() override { return true; }

 private:
  sim::SimScreen screen_{1280, 1024, 32};
  sim::SimDirectDrawFactory factory_{screen_};
};

}  // namespace

std::unique_ptr<DirectDrawSubject> MakeDirectDrawSubject() {
  return std::make_unique<SimDirectDrawSubject>();
}

}  // namespace vexmark::testing
