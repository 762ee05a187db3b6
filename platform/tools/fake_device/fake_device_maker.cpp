#include "fake_device_maker.h"

// The device installer headers need windows.h first.
#include <cfgmgr32.h>
#include <objbase.h>
#include <setupapi.h>

#include <cstddef>
#include <cwchar>

namespace fake_device {

namespace {

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());  // ids and class names are ASCII
}

// REG_MULTI_SZ bytes of wide strings.
std::vector<BYTE> WideMultiString(const std::vector<std::string>& strings) {
  std::wstring joined;
  for (const std::string& s : strings) {
    joined += Wide(s);
    joined += L'\0';
  }
  joined += L'\0';
  const auto* bytes = reinterpret_cast<const BYTE*>(joined.data());
  return std::vector<BYTE>(bytes, bytes + joined.size() * sizeof(wchar_t));
}

std::vector<std::string> SplitMultiString(const std::vector<char>& data) {
  std::vector<std::string> strings;
  size_t at = 0;
  while (at < data.size() && data[at] != '\0') {
    size_t end = at;
    while (end < data.size() && data[end] != '\0') ++end;
    strings.emplace_back(data.data() + at, end - at);
    at = end + 1;
  }
  return strings;
}

std::vector<std::string> HardwareIds(HDEVINFO set, SP_DEVINFO_DATA* device) {
  DWORD required = 0;
  SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, nullptr, nullptr, 0, &required);
  if (required == 0) return {};
  std::vector<char> data(required);
  if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, nullptr,
                                         reinterpret_cast<BYTE*>(data.data()), required, nullptr)) {
    return {};
  }
  return SplitMultiString(data);
}

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA* device) {
  char id[MAX_DEVICE_ID_LEN] = {};
  if (!SetupDiGetDeviceInstanceIdA(set, device, id, sizeof id, nullptr)) return {};
  return id;
}

bool SetMultiString(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property,
                    const std::vector<std::string>& strings) {
  if (strings.empty()) return true;
  const std::vector<BYTE> bytes = WideMultiString(strings);
  return SetupDiSetDeviceRegistryPropertyW(set, device, property, bytes.data(),
                                           static_cast<DWORD>(bytes.size())) != FALSE;
}

// Opens one device by instance id into a fresh list; INVALID_HANDLE_VALUE on failure.
HDEVINFO OpenDevice(const std::string& instance_id, SP_DEVINFO_DATA* device) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
  if (set == INVALID_HANDLE_VALUE) return set;
  device->cbSize = sizeof *device;
  if (!SetupDiOpenDeviceInfoA(set, instance_id.c_str(), nullptr, 0, device)) {
    SetupDiDestroyDeviceInfoList(set);
    return INVALID_HANDLE_VALUE;
  }
  return set;
}

}  // namespace

std::optional<GUID> ClassGuidByName(const std::string& class_name) {
  GUID guid;
  DWORD count = 0;
  // A name with several GUIDs fails with a too small buffer but still fills the first.
  if (!SetupDiClassGuidsFromNameA(class_name.c_str(), &guid, 1, &count) &&
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return std::nullopt;
  }
  if (count == 0) return std::nullopt;
  return guid;
}

bool EnsureSetupClass(const std::string& class_name, const GUID& class_guid) {
  const std::optional<GUID> known = ClassGuidByName(class_name);
  if (known && IsEqualGUID(*known, class_guid)) return true;
  wchar_t guid_text[40];
  StringFromGUID2(class_guid, guid_text, 40);
  const std::wstring path =
      L"SYSTEM\\CurrentControlSet\\Control\\Class\\" + std::wstring(guid_text);
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring name = Wide(class_name);
  const LONG result =
      RegSetValueExW(key, L"Class", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                     static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::string CreateRootDevice(const std::string& class_name, const GUID& class_guid,
                             const std::vector<std::string>& hardware_ids,
                             const std::vector<std::string>& compatible_ids) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(&class_guid, nullptr);
  if (set == INVALID_HANDLE_VALUE) return {};
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  std::string id;
  if (SetupDiCreateDeviceInfoW(set, Wide(class_name).c_str(), &class_guid, nullptr, nullptr,
                               DICD_GENERATE_ID, &device) &&
      SetMultiString(set, &device, SPDRP_HARDWAREID, hardware_ids) &&
      SetMultiString(set, &device, SPDRP_COMPATIBLEIDS, compatible_ids) &&
      SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
    id = InstanceId(set, &device);
  }
  SetupDiDestroyDeviceInfoList(set);
  return id;
}

bool RemoveDevice(const std::string& instance_id) {
  SP_DEVINFO_DATA device;
  HDEVINFO set = OpenDevice(instance_id, &device);
  if (set == INVALID_HANDLE_VALUE) return false;
  // Without class install parameters DIF_REMOVE removes the device globally; Wine cannot set
  // them anyway.
  const bool removed = SetupDiCallClassInstaller(DIF_REMOVE, set, &device);
  SetupDiDestroyDeviceInfoList(set);
  return removed;
}

std::vector<ListedDevice> ListPresentDevices(const GUID& class_guid) {
  std::vector<ListedDevice> devices;
  HDEVINFO set = SetupDiGetClassDevsA(&class_guid, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return devices;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    devices.push_back({InstanceId(set, &device), HardwareIds(set, &device)});
  }
  SetupDiDestroyDeviceInfoList(set);
  return devices;
}

std::string CreateInterface(const std::string& instance_id, const GUID& category,
                            const std::string& reference) {
  SP_DEVINFO_DATA device;
  HDEVINFO set = OpenDevice(instance_id, &device);
  if (set == INVALID_HANDLE_VALUE) return {};
  SP_DEVICE_INTERFACE_DATA iface{};
  iface.cbSize = sizeof iface;
  std::string path;
  if (SetupDiCreateDeviceInterfaceA(set, &device, &category, reference.c_str(), 0, &iface)) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &iface, nullptr, 0, &required, nullptr);
    std::vector<BYTE> buffer(required + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (SetupDiGetDeviceInterfaceDetailA(set, &iface, detail, static_cast<DWORD>(buffer.size()),
                                         nullptr, nullptr)) {
      path = detail->DevicePath;
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return path;
}

}  // namespace fake_device
