// The desktop window manager's answer, set by the test.
#pragma once
#include "bench/core/composition.h"

namespace vexmark::sim {

class SimCompositionQuery : public CompositionQuery {
 public:
  bool DwmIsCompositionEnabled() override { return enabled; }
  bool enabled = false;
};

}  // namespace vexmark::sim
