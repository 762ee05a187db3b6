// Opening files and addresses through ShellExecuteW.
#pragma once
#include "panel/core/shell_open.h"

namespace panel::win32 {

class Win32ShellOpen : public ShellOpen {
 public:
  intptr_t Execute(std::u16string_view verb, std::u16string_view file,
                   std::u16string_view parameters, int show) override;
};

}  // namespace panel::win32
