#include "panel/sim/sim_wmi_service_query.h"

#include <cctype>

#include "panel/core/service_check.h"

namespace panel::sim {

void SimWmiServiceQuery::SetService(const std::string& name, std::vector<std::string> states) {
  services_[name] = std::move(states);
}

std::optional<std::vector<std::string>> SimWmiServiceQuery::QueryStates(const std::string& wql) {
  queries_.push_back(wql);
  if (unavailable_) return std::nullopt;
  // WQL compares names without regard to case, as Windows does.
  for (const auto& [name, states] : services_) {
    std::string expected = ServiceQueryText(name);
    if (expected.size() != wql.size()) continue;
    bool same = true;
    for (size_t i = 0; i < wql.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(expected[i])) ==
             std::tolower(static_cast<unsigned char>(wql[i]));
    }
    if (same) return states;
  }
  return std::vector<std::string>{};
}

}  // namespace panel::sim
