// SetupOv.exe / SetupOv64.exe: wires the Windows adapters to the removal tool and runs it.
#include <windows.h>

#include <optional>
#include <string>

#include "drvsetup/core/setup_app.h"
#include "drvsetup/win32/win32_adapters.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_os_version.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"

namespace {

std::optional<std::string> ReadCommandLine() {
  const char* line = GetCommandLineA();
  if (line == nullptr) return std::nullopt;
  return std::string(line);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::Win32OsVersion os_version;
  platform::win32::Win32NamedMutexes mutexes;
  platform::win32::Win32Files files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Devices devices;
  drvsetup::win32::Win32DifxLoader difx;
  drvsetup::win32::Win32StringTable strings;
  drvsetup::win32::Win32MessageBoxes message_boxes;
  drvsetup::win32::Win32ProgressWindows progress_windows;
  drvsetup::win32::Win32Sleeper sleeper;
  drvsetup::win32::Win32CodePage code_page;
  drvsetup::SetupPorts ports{os_version,       mutexes, files,    registry,
                             devices,          difx,    strings,  message_boxes,
                             progress_windows, sleeper, code_page};
  drvsetup::CSetupCRApp app(ports);
  return app.Run(ReadCommandLine());
}
