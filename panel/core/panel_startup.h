// The control panel's process start-up and shutdown, from the single-instance check to the
// end of the message loop, over the ports of everything outside.
#pragma once
#include "panel/core/instance_mutex.h"
#include "panel/core/process_startup.h"
#include "panel/core/running_instance.h"
#include "panel/core/streaming_library.h"
#include "panel/core/wmi_service_query.h"
#include "platform/process.h"

namespace panel {

struct StartupPorts {
  InstanceMutex& mutex;
  RunningInstance& running;
  ProcessStartup& process;
  WmiServiceQuery& wmi;
  platform::ProcessLauncher& launcher;
  StreamingLibrary& library;
};

// Runs the program: single instance (a second one brings the first forward), skin location,
// service check, COM, Winsock 2.2, DPI awareness, library start-up (a failure is answered by
// LibraryDestroy and the window is still shown), the frame window and its message loop, COM
// shut-down. Every path returns exit code 0.
int RunPanel(StartupPorts& ports);

}  // namespace panel
