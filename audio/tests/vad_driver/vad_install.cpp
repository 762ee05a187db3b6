// vad_install: puts the stand-in virtual audio driver into a test system, and takes it out again.
//
//   vad_install.exe install <driver .sys path>
//       Creates the Media-class root device with hardware id "*VQVADSimple" and its
//       kernel-streaming audio interface, registers the driver as a kernel-driver service that
//       links that interface path to its device, and starts it. Prints the interface path.
//   vad_install.exe uninstall
//       Stops and deletes the service and removes the devices with that hardware id.
//
// Exit code 0 on success, 1 on failure (with a message on standard error).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fake_device_maker.h"
#include "vad_layout.h"

namespace {

constexpr GUID kMediaClass{
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr GUID kAudioCategory{
    0x65E8773E, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr char kHardwareId[] = "*VQVADSimple";
constexpr wchar_t kServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\" VAD_SERVICE_NAME;

int Fail(const char* what) {
  std::fprintf(stderr, "vad_install: %s (error %lu)\n", what, GetLastError());
  return 1;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool WaitForState(SC_HANDLE service, DWORD wanted) {
  for (int i = 0; i < 200; ++i) {
    SERVICE_STATUS status;
    if (!QueryServiceStatus(service, &status)) return false;
    if (status.dwCurrentState == wanted) return true;
    if (status.dwCurrentState == SERVICE_STOPPED && wanted != SERVICE_STOPPED) return false;
    Sleep(100);
  }
  return false;
}

bool WriteInterfaceLink(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring value = Wide(path);
  const LONG result = RegSetValueExW(key, VAD_INTERFACE_LINK_VALUE, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

int Install(const std::string& driver_path) {
  char full_path[MAX_PATH];
  if (!GetFullPathNameA(driver_path.c_str(), MAX_PATH, full_path, nullptr)) {
    return Fail("bad driver path");
  }
  if (!fake_device::EnsureSetupClass("MEDIA", kMediaClass)) return Fail("no Media class");
  const std::string instance =
      fake_device::CreateRootDevice("Media", kMediaClass, {kHardwareId}, {});
  if (instance.empty()) return Fail("cannot create the device");
  const std::string interface_path = fake_device::CreateInterface(instance, kAudioCategory, "");
  if (interface_path.empty()) return Fail("cannot create the audio interface");

  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return Fail("cannot open the service manager");
  SC_HANDLE service =
      CreateServiceW(manager, VAD_SERVICE_NAME, VAD_SERVICE_NAME, SERVICE_ALL_ACCESS,
                     SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                     Wide(full_path).c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  CloseServiceHandle(manager);
  if (!service) return Fail("cannot create the driver service");
  int result = 0;
  if (!WriteInterfaceLink(interface_path)) {
    result = Fail("cannot record the interface path");
  } else if (!StartServiceW(service, 0, nullptr) || !WaitForState(service, SERVICE_RUNNING)) {
    result = Fail("the driver did not start");
  } else {
    std::printf("%s\n", interface_path.c_str());
  }
  CloseServiceHandle(service);
  return result;
}

int Uninstall() {
  int result = 0;
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return Fail("cannot open the service manager");
  SC_HANDLE service = OpenServiceW(manager, VAD_SERVICE_NAME, SERVICE_ALL_ACCESS);
  if (service) {
    SERVICE_STATUS status;
    if (ControlService(service, SERVICE_CONTROL_STOP, &status)) {
      WaitForState(service, SERVICE_STOPPED);
    }
    if (!DeleteService(service)) result = Fail("cannot delete the driver service");
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  for (const fake_device::ListedDevice& device : fake_device::ListPresentDevices(kMediaClass)) {
    if (!device.hardware_ids.empty() &&
        _stricmp(device.hardware_ids[0].c_str(), kHardwareId) == 0 &&
        !fake_device::RemoveDevice(device.instance_id)) {
      result = Fail("cannot remove the device");
    }
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "install") return Install(args[1]);
  if (args.size() == 1 && args[0] == "uninstall") return Uninstall();
  std::fprintf(stderr, "usage: vad_install install <driver.sys> | uninstall\n");
  return 1;
}
