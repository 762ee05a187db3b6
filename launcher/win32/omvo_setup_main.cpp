// The composition root of OmvoSetup: the real adapters wired to the application object.
#include <windows.h>

#include "launcher/core/omvo_setup_app.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_os_version.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::Win32OsVersion os;
  platform::win32::Win32Registry registry;
  platform::win32::Win32ProcessLauncher processes;
  platform::win32::Win32Files files;
  launcher::COmvoSetupApp app({os, registry, processes, files});
  return app.InitInstance();
}
