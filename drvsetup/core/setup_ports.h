// Everything outside the removal tool that it talks to, wired once by the program's root.
#pragma once
#include "drvsetup/core/code_page.h"
#include "drvsetup/core/difx.h"
#include "drvsetup/core/message_boxes.h"
#include "drvsetup/core/progress_windows.h"
#include "drvsetup/core/sleeper.h"
#include "drvsetup/core/string_table.h"
#include "platform/devices.h"
#include "platform/files.h"
#include "platform/named_mutex.h"
#include "platform/os_version.h"
#include "platform/registry.h"

namespace drvsetup {

struct SetupPorts {
  platform::OsVersion& os_version;
  platform::NamedMutexes& mutexes;
  platform::Files& files;
  platform::Registry& registry;
  platform::Devices& devices;
  DifxLoader& difx;
  StringTable& strings;
  MessageBoxes& message_boxes;
  ProgressWindows& progress_windows;
  Sleeper& sleeper;
  const CodePage& code_page;
};

}  // namespace drvsetup
