// Quandle.exe: the composition root. Every outside part gets its Windows adapter here and the
// panel's start-up sequence runs over them.
#include <windows.h>

#include "panel/app/process_startup_win32.h"
#include "panel/core/panel_startup.h"
#include "panel/win32/instance_mutex_win32.h"
#include "panel/win32/ombrivue_library.h"
#include "panel/win32/running_instance_win32.h"
#include "panel/win32/shell_open_win32.h"
#include "panel/win32/wide_shell_launcher_win32.h"
#include "panel/win32/wmi_service_query_win32.h"
#include "platform/win32/win32_sync.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  panel::OmbrivueLibrary library;
  platform::win32::Win32Sync sync;
  panel::Win32ShellOpen shell;
  panel::Win32InstanceMutex mutex;
  panel::Win32RunningInstance running;
  panel::Win32WmiServiceQuery wmi;
  panel::Win32WideShellLauncher launcher;
  panel::Win32ProcessStartup process(library, sync, shell, mutex);
  panel::StartupPorts ports{mutex, running, process, wmi, launcher, library};
  return panel::RunPanel(ports);
}
