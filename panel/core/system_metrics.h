// GetSystemMetrics: the one system metric the version check asks for.
#pragma once
#include <cstdint>

namespace panel {

inline constexpr int32_t kSmServerR2 = 89;  // SM_SERVERR2

class SystemMetrics {
 public:
  virtual ~SystemMetrics() = default;
  virtual int32_t Get(int32_t index) = 0;
};

}  // namespace panel
