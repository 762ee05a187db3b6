#include "panel/core/panel_startup.h"

#include "panel/core/service_check.h"

namespace panel {

namespace {

// Single instance: true when this process may go on; a second one brings the first forward.
bool TakeInstance(StartupPorts& ports) {
  InstanceMutex& mutex = ports.mutex;
  if (!mutex.Exists(kInstanceMutexName) &&
      mutex.Create(kInstanceMutexName) == InstanceMutex::CreateResult::kCreated) {
    return true;
  }
  BringToFront(ports.running, kFrameClassName, kFrameTitle);
  return false;
}

}  // namespace

int RunPanel(StartupPorts& ports) {
  if (!TakeInstance(ports)) return 0;

  ProcessStartup& process = ports.process;
  process.LocateSkin(kSkinFolder, kSkinArchive);
  if (!CheckServicesAtStartup(ports.wmi, ports.launcher, process.ProgramFolder())) return 0;
  if (!process.CoInitialize()) return 0;
  process.WsaStartup(2, 2);
  process.SetProcessDpiAware();

  if (ports.library.LibraryInit() != 0) ports.library.LibraryDestroy();

  if (process.CreateFrameWindow(FrameCreation{})) process.RunMessageLoop();
  process.CoUninitialize();
  return 0;
}

}  // namespace panel
