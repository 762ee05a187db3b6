// The WMI port on IWbemLocator: each query initialises COM for the calling thread
// (multi-threaded), sets process security once, connects to ROOT\CIMV2 and reads "State".
#pragma once
#include "panel/core/wmi_service_query.h"

namespace panel::win32 {

class Win32WmiServiceQuery : public WmiServiceQuery {
 public:
  std::optional<std::vector<std::string>> QueryStates(const std::string& wql) override;
};

}  // namespace panel::win32
