// The Windows side of the removal tool's own ports.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "drvsetup/core/code_page.h"
#include "drvsetup/core/difx.h"
#include "drvsetup/core/message_boxes.h"
#include "drvsetup/core/progress_windows.h"
#include "drvsetup/core/sleeper.h"
#include "drvsetup/core/string_table.h"

namespace drvsetup::win32 {

// LoadStringA from the program's own resources, in the language the system picks.
class Win32StringTable : public StringTable {
 public:
  std::optional<std::string> Load(unsigned id, size_t buffer_chars) override;
};

// MessageBoxA without owner, OK button and information icon.
class Win32MessageBoxes : public MessageBoxes {
 public:
  void ShowInformation(std::string_view caption, std::string_view text, bool topmost) override;
};

// A "msctls_progress32" window of its own on the desktop.
class Win32ProgressWindows : public ProgressWindows {
 public:
  WindowRect DesktopRect() override;
  std::unique_ptr<ProgressBar> Create(const ProgressWindowParams& params) override;
};

// DIFXAPI.DLL through LoadLibraryA and GetProcAddress.
class Win32DifxLoader : public DifxLoader {
 public:
  std::unique_ptr<DifxLibrary> Load(std::string_view name) override;
};

class Win32Sleeper : public Sleeper {
 public:
  void Sleep(uint32_t milliseconds) override;
};

// The system's ANSI code page.
class Win32CodePage : public CodePage {
 public:
  bool IsLeadByte(uint8_t byte) const override;
};

}  // namespace drvsetup::win32
