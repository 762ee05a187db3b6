// fake_device: puts driverless root-enumerated devices into the system for tests, and takes
// them out again. Devices it creates stay present for every other process.
//
//   fake_device.exe create <ClassName> <hardware-id> [<hardware-id>...]
//       Creates a device ROOT\<ClassName>\NNNN of that setup class with those hardware ids and
//       prints its instance id. The class "Media" is made known first when the system does not
//       know it yet (a fresh Wine prefix has no class key for it); other classes must exist.
//   fake_device.exe list <ClassName>
//       Prints the present devices of the class, one per line: "<instance id>\t<hwid1>;<hwid2>...".
//       A class the system does not know has no devices.
//   fake_device.exe remove <instance id>
//       Removes the device through the class installer (DIF_REMOVE).
//
// Exit code 0 on success, 1 on failure or bad usage (with a message on standard error).
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fake_device_maker.h"

namespace {

constexpr GUID kMediaClass{
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

int Fail(const char* message, const std::string& detail) {
  const unsigned long error = GetLastError();
  std::fprintf(stderr, "fake_device: %s%s (error %lu)\n", message, detail.c_str(), error);
  return 1;
}

bool EqualNoCase(const std::string& a, const char* b) { return _stricmp(a.c_str(), b) == 0; }

int Create(const std::string& class_name, const std::vector<std::string>& hardware_ids) {
  if (EqualNoCase(class_name, "Media") && !fake_device::EnsureSetupClass("MEDIA", kMediaClass)) {
    return Fail("cannot register the setup class ", class_name);
  }
  const std::optional<GUID> guid = fake_device::ClassGuidByName(class_name);
  if (!guid) return Fail("unknown setup class ", class_name);
  const std::string id = fake_device::CreateRootDevice(class_name, *guid, hardware_ids, {});
  if (id.empty()) return Fail("cannot create a device of class ", class_name);
  std::printf("%s\n", id.c_str());
  return 0;
}

int List(const std::string& class_name) {
  const std::optional<GUID> guid = fake_device::ClassGuidByName(class_name);
  if (!guid) return 0;
  for (const fake_device::ListedDevice& device : fake_device::ListPresentDevices(*guid)) {
    std::string line = device.instance_id + "\t";
    for (size_t i = 0; i < device.hardware_ids.size(); ++i) {
      if (i > 0) line += ";";
      line += device.hardware_ids[i];
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int Remove(const std::string& instance_id) {
  return fake_device::RemoveDevice(instance_id) ? 0 : Fail("cannot remove ", instance_id);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 3 && args[0] == "create") {
    return Create(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
  }
  if (args.size() == 2 && args[0] == "list") return List(args[1]);
  if (args.size() == 2 && args[0] == "remove") return Remove(args[1]);
  return Fail("usage: fake_device create <ClassName> <hardware-id>... | list <ClassName> | ",
              "remove <instance id>");
}
