// Waiting a while on the calling thread.
#pragma once
#include <cstdint>

namespace drvsetup {

class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace drvsetup
