// Windows Management Instrumentation as the service check uses it: one WQL query in
// ROOT\CIMV2, answered with the "State" text of every returned object.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace panel {

class WmiServiceQuery {
 public:
  virtual ~WmiServiceQuery() = default;
  // nullopt when WMI cannot be reached or the query fails. Each element is one returned
  // object's "State", 8-bit; empty when it could not be read or was null.
  virtual std::optional<std::vector<std::string>> QueryStates(const std::string& wql) = 0;
};

}  // namespace panel
