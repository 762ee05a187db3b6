// System metrics as a test sets them; a metric not set reads 0, as an unknown index does.
#pragma once
#include <map>
#include <vector>

#include "panel/core/system_metrics.h"

namespace panel::sim {

class SimSystemMetrics : public SystemMetrics {
 public:
  std::map<int32_t, int32_t> values;
  std::vector<int32_t> asked;

  int32_t Get(int32_t index) override {
    asked.push_back(index);
    const auto found = values.find(index);
    return found == values.end() ? 0 : found->second;
  }
};

}  // namespace panel::sim
