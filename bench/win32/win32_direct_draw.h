// DirectDraw 7 as the benchmark's detector of exclusive mode and display mode changes.
#pragma once
#include "bench/core/direct_draw.h"

namespace vexmark::win32 {

class Win32DirectDrawFactory : public DirectDrawFactory {
 public:
  std::unique_ptr<DirectDraw7> Create() override;
};

}  // namespace vexmark::win32
