#include "panel/sim/sim_wmi_service_query.h"

#include "panel/core/service_check.h"
#include "platform/ascii_case.h"

namespace panel::sim {

void SimWmiServiceQuery::SetService(const std::string& name, std::vector<std::string> states) {
  services_[name] = std::move(states);
}

std::optional<std::vector<std::string>> SimWmiServiceQuery::QueryStates(const std::string& wql) {
  queries_.push_back(wql);
  if (unavailable_) return std::nullopt;
  // WQL compares names without regard to case, as Windows does.
  for (const auto& [name, states] : services_) {
    if (platform::EqualsIgnoringCase(ServiceQueryText(name), wql)) return states;
  }
  return std::vector<std::string>{};
}

}  // namespace panel::sim
