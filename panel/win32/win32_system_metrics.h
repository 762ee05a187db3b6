// The system-metrics port on GetSystemMetrics.
#pragma once
#include "panel/core/system_metrics.h"

namespace panel::win32 {

class Win32SystemMetrics : public SystemMetrics {
 public:
  int32_t Get(int32_t index) override;
};

}  // namespace panel::win32
