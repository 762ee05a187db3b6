// WMI as the service check sees it: Win32_Service rows by service name, each with a State;
// WMI can be made unavailable. Queries are recorded.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "panel/core/wmi_service_query.h"

namespace panel::sim {

class SimWmiServiceQuery : public WmiServiceQuery {
 public:
  // The rows a query for this service returns (several rows are possible in principle).
  void SetService(const std::string& name, std::vector<std::string> states);
  void SetUnavailable(bool unavailable) { unavailable_ = unavailable; }
  const std::vector<std::string>& Queries() const { return queries_; }

  std::optional<std::vector<std::string>> QueryStates(const std::string& wql) override;

 private:
  std::map<std::string, std::vector<std::string>> services_;
  bool unavailable_ = false;
  std::vector<std::string> queries_;
};

}  // namespace panel::sim
