#include "host/world.h"

#include "drvsetup/core/filter_driver_removal.h"
#include "drvsetup/core/setup_app.h"

namespace drvsetup::testing {

namespace {

using platform::RootKey;
using platform::sim::SimDevice;

std::string InfText(std::string_view class_guid, std::string_view hardware_id) {
  return "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClassGuid=" + std::string(class_guid) +
         "\r\n\r\n[Models]\r\n%Device%=Install," + std::string(hardware_id) + "\r\n";
}

SimDevice Device(std::string id, const platform::Guid& guid, std::vector<std::string> hardware,
                 std::vector<std::string> compatible = {}) {
  SimDevice device;
  device.instance_id = std::move(id);
  device.class_guid = guid;
  device.hardware_ids = std::move(hardware);
  device.compatible_ids = std::move(compatible);
  return device;
}

}  // namespace

bool RecordingFiles::DeleteFile(std::string_view path) {
  const bool done = SimFiles::DeleteFile(path);
  if (done) deleted.emplace_back(path);
  return done;
}

std::string AudioInfText() {
  return InfText("{4d36e96c-e325-11ce-bfc1-08002be10318}", "*VQVADSimple");
}
std::string VfbddInfText() {
  return InfText("{4D36E968-E325-11CE-BFC1-08002BE10318}", "ROOT\\DISPLAY\\ZYN_Vfbdd");
}
std::string VqmddInfText() {
  return InfText("{4D36E968-E325-11CE-BFC1-08002BE10318}", "ROOT\\DISPLAY\\ZYN_Vqmdd");
}
std::string NetworkInfText() {
  return InfText("{4d36e972-e325-11ce-bfc1-08002be10318}", "USB\\VID_1f4e&PID_8500");
}

World::World() {
  files.SetModulePath("C:\\Program\\SetupOv.exe");
  files.AddFile("C:\\Program\\Difxapi.dll", "MZ");
  files.AddFolder("C:\\Windows\\system32\\drivers");
  files.AddFolder("C:\\Windows\\inf");
}

SetupPorts World::Ports() {
  return SetupPorts{os_version,    mutexes,          files,   registry, devices, difx, strings,
                    message_boxes, progress_windows, sleeper, code_page};
}

int World::Run(std::optional<std::string> command_line) {
  SetupPorts ports = Ports();
  CSetupCRApp app(ports);
  return app.Run(command_line);
}

void World::AddInf(std::string_view name, const std::string& text) {
  const std::string path = std::string(kInfFolder) + std::string(name);
  files.AddFile(path, text);
  files.AddFile(path.substr(0, path.size() - 4) + ".pnf", "PNF");
}

bool World::InfExists(std::string_view name) const {
  return files.Exists(std::string(kInfFolder) + std::string(name));
}

void World::InstallProduct() {
  using platform::sim::DisplayClassGuid;
  using platform::sim::MediaClassGuid;
  devices.AddDevice(
      Device("ROOT\\DISPLAY\\0000", DisplayClassGuid(), {"ROOT\\DISPLAY\\ZYN_Vfbdd"}));
  devices.AddDevice(
      Device("ROOT\\DISPLAY\\0001", DisplayClassGuid(), {"ROOT\\DISPLAY\\ZYN_Vqmdd"}));
  devices.AddDevice(Device("PCI\\VEN_10DE\\3&1", DisplayClassGuid(), {"PCI\\VEN_10DE&DEV_0641"}));
  devices.AddDevice(Device("ROOT\\MEDIA\\0000", MediaClassGuid(), {"*VQVADSimple"}));
  devices.AddDevice(Device("ROOT\\MEDIA\\0001", MediaClassGuid(), {"ROOT\\VQVADSimple"}));
  devices.AddDevice(Device("HDAUDIO\\FUNC_01\\4&2", MediaClassGuid(), {"HDAUDIO\\FUNC_01"}));
  AddInf("oem3.inf", VfbddInfText());
  AddInf("oem4.inf", VqmddInfText());
  AddInf("oem7.inf", AudioInfText());
  AddInf("oem9.inf", NetworkInfText());
  registry.PutDword(RootKey::kLocalMachine, kFilterServiceKey, "Start", 3);
  registry.AddKey(RootKey::kLocalMachine, std::string(kFilterServiceKey) + "\\Enum");
  registry.PutMultiString(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters", {"ZynKmdFltr"});
  files.AddFile(kDriverFile, "driver");
}

bool World::DeviceStays(std::string_view instance_id) const {
  for (const SimDevice& device : devices.PresentDeviceList()) {
    if (device.instance_id == instance_id) return true;
  }
  return false;
}

}  // namespace drvsetup::testing
