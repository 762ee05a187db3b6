// The OS version seam under test and what the system behind it is known to report: the
// simulation's configured records on Linux, Wine's default Windows 7 under Wine.
#pragma once
#include <memory>

#include "platform/os_version.h"

namespace platform::testing {

class OsVersionSubject {
 public:
  virtual ~OsVersionSubject() = default;

  virtual OsVersion& os_version() = 0;
  // The extended record the system reports (the basic one has no product type).
  virtual OsVersionRecord Expected() = 0;
  virtual bool ExpectedWow64() = 0;
};

std::unique_ptr<OsVersionSubject> MakeOsVersionSubject();

}  // namespace platform::testing
