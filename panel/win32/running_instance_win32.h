// Bringing a running instance's window forward, for the second instance.
#pragma once
#include "panel/core/running_instance.h"

namespace panel {

class Win32RunningInstance : public RunningInstance {
 public:
  bool BringToFront(std::u16string_view window_class, std::u16string_view title) override;
};

}  // namespace panel
