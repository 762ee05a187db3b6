// The desktop window manager's composition state, through dwmapi.dll loaded for the question.
#pragma once
#include "bench/core/composition.h"

namespace vexmark::win32 {

class Win32CompositionQuery : public CompositionQuery {
 public:
  bool DwmIsCompositionEnabled() override;
};

}  // namespace vexmark::win32
