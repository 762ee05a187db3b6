// Quandle.exe: the composition root. Every outside part gets its Windows adapter here and the
// panel's start-up sequence runs over them.
#include <windows.h>

#include "panel/app/process_startup_win32.h"
#include "panel/core/panel_startup.h"
#include "panel/win32/win32_instance_mutex.h"
#include "panel/win32/win32_ombrivue_library.h"
#include "panel/win32/win32_running_instance.h"
#include "panel/win32/win32_shell_open.h"
#include "panel/win32/win32_wide_shell_launcher.h"
#include "panel/win32/win32_wmi_service_query.h"
#include "platform/win32/win32_sync.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  panel::win32::OmbrivueLibrary library;
  platform::win32::Win32Sync sync;
  panel::win32::Win32ShellOpen shell;
  panel::win32::Win32InstanceMutex mutex;
  panel::win32::Win32RunningInstance running;
  panel::win32::Win32WmiServiceQuery wmi;
  panel::win32::Win32WideShellLauncher launcher;
  panel::Win32ProcessStartup process(library, sync, shell, mutex);
  panel::StartupPorts ports{mutex, running, process, wmi, launcher, library};
  return panel::RunPanel(ports);
}
