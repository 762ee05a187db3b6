// Message boxes with the information icon and an OK button.
#pragma once
#include <string_view>

namespace drvsetup {

inline constexpr std::string_view kMessageCaption = "OvUinst";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Blocks until the user closes the box.
  virtual void ShowInformation(std::string_view caption, std::string_view text, bool topmost) = 0;
};

}  // namespace drvsetup
