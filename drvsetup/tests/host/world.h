// The removal tool wired to the simulated system: device tree, registry, file tree, OS
// version, mutexes, and the tool's own fakes; plus the usual contents of a system the
// product was installed on.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drvsetup/core/setup_ports.h"
#include "host/fakes.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_os_version.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_registry.h"

namespace drvsetup::testing {

// SimFiles with a log of every deletion, in call order.
class RecordingFiles : public platform::sim::SimFiles {
 public:
  bool DeleteFile(std::string_view path) override;
  std::vector<std::string> deleted;
};

inline constexpr std::string_view kInfFolder = "C:\\Windows\\inf\\";
inline constexpr std::string_view kDriverFile = "C:\\Windows\\system32\\drivers\\ZynKmdFltr.sys";

std::string AudioInfText();
std::string VfbddInfText();
std::string VqmddInfText();
std::string NetworkInfText();

struct World {
  World();

  SetupPorts Ports();
  // Runs the whole program with this command line.
  int Run(std::optional<std::string> command_line);

  // An "oemN.inf" with its ".pnf" companion in the INF folder.
  void AddInf(std::string_view name, const std::string& text);
  bool InfExists(std::string_view name) const;
  // The installed product: its devices, INF files, filter driver keys and file.
  void InstallProduct();
  bool DeviceStays(std::string_view instance_id) const;

  platform::sim::SimDevices devices;
  platform::sim::SimRegistry registry;
  RecordingFiles files;
  platform::sim::SimOsVersion os_version{platform::sim::Windows7()};
  platform::sim::SimNamedMutexes mutexes;
  FakeDifxLoader difx;
  FakeStringTable strings;
  RecordingMessageBoxes message_boxes;
  FakeProgressWindows progress_windows;
  RecordingSleeper sleeper;
  SingleByteCodePage code_page;
};

}  // namespace drvsetup::testing
