// The desktop window manager's composition state.
#pragma once

namespace vexmark {

class CompositionQuery {
 public:
  virtual ~CompositionQuery() = default;
  // False also when dwmapi.dll or its function is missing.
  virtual bool DwmIsCompositionEnabled() = 0;
};

}  // namespace vexmark
