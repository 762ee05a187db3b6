// DirectDraw 7 over the simulated screen: reports another program's exclusive mode and a
// display mode changed since the object was made.
#pragma once
#include "bench/core/direct_draw.h"
#include "bench/sim/sim_screen.h"

namespace vexmark::sim {

class SimDirectDrawFactory : public DirectDrawFactory {
 public:
  explicit SimDirectDrawFactory(SimScreen& screen) : screen_(screen) {}
  std::unique_ptr<DirectDraw7> Create() override;

  bool fail_create = false;
  bool fail_cooperative_level = false;
  int live_objects = 0;

 private:
  SimScreen& screen_;
};

}  // namespace vexmark::sim
