// Opening a file or address through the shell, as ShellExecuteW does.
#pragma once
#include <cstdint>
#include <string_view>

namespace panel {

inline constexpr int kShowShow = 5;  // SW_SHOW
// A shell result at or below this value is a failure.
inline constexpr intptr_t kShellFailureLimit = 32;

class ShellOpen {
 public:
  virtual ~ShellOpen() = default;
  // ShellExecuteW without a parent window or working folder; parameters empty for none.
  // Returns the shell's result value (greater than 32 on success).
  virtual intptr_t Execute(std::u16string_view verb, std::u16string_view file,
                           std::u16string_view parameters, int show) = 0;
};

}  // namespace panel
