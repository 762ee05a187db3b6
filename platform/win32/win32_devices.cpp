#include "platform/win32/win32_devices.h"

#include <windows.h>
// The device installer headers need windows.h first.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/native_guid.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

DWORD PropertyCode(DeviceProperty property) {
  return property == DeviceProperty::kHardwareIds ? SPDRP_HARDWAREID : SPDRP_COMPATIBLEIDS;
}

class Win32DeviceInfoList : public DeviceInfoList {
 public:
  explicit Win32DeviceInfoList(HDEVINFO set) : set_(set) {}

  bool OpenDevice(std::string_view instance_id) override {
    const std::string id(instance_id);
    return SetupDiOpenDeviceInfoA(set_.get(), id.c_str(), nullptr, 0, nullptr) != FALSE;
  }

  bool ReadDetails() override {
    SP_DEVINFO_LIST_DETAIL_DATA_A detail{};
    detail.cbSize = sizeof detail;
    if (!SetupDiGetDeviceInfoListDetailA(set_.get(), &detail)) return false;
    machine_ = detail.RemoteMachineHandle;
    return true;
  }

  bool EnumDevice(uint32_t index) override {
    SP_DEVINFO_DATA data;
    return Member(index, &data);
  }

  bool InstanceId(uint32_t index, size_t max_chars, std::string* id) override {
    SP_DEVINFO_DATA data;
    if (!Member(index, &data)) return false;
    // The size first: Wine's CM_Get_Device_ID calls report success for a too small buffer.
    ULONG length = 0;
    if (DeviceIdSize(data.DevInst, &length) != CR_SUCCESS || length > max_chars) {
      return false;
    }
    std::string buffer(length + 1, '\0');
    if (ReadDeviceId(data.DevInst, buffer.data(), length + 1) != CR_SUCCESS) return false;
    buffer.resize(std::strlen(buffer.c_str()));
    *id = buffer;
    return true;
  }

  WinError RegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type, uint8_t* data,
                            uint32_t size, uint32_t* required) override {
    return ReadProperty(SetupDiGetDeviceRegistryPropertyA, index, property, type, data, size,
                        required);
  }

  bool SetRemoveParams(uint32_t index) override {
    SP_DEVINFO_DATA member;
    if (!Member(index, &member)) return false;
    SP_REMOVEDEVICE_PARAMS params{};
    params.ClassInstallHeader.cbSize = sizeof params.ClassInstallHeader;
    params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
    params.Scope = DI_REMOVEDEVICE_GLOBAL;
    params.HwProfile = 0;
    SetLastError(ERROR_SUCCESS);
    if (SetupDiSetClassInstallParamsA(set_.get(), &member, &params.ClassInstallHeader,
                                      sizeof params)) {
      return true;
    }
    // Wine's is a stub that fails without naming an error; DIF_REMOVE's default without
    // parameters is this same global removal, so that failure costs nothing.
    return GetLastError() == ERROR_SUCCESS;
  }

  bool CallClassInstallerRemove(uint32_t index) override {
    SP_DEVINFO_DATA member;
    return Member(index, &member) && SetupDiCallClassInstaller(DIF_REMOVE, set_.get(), &member);
  }

  bool NeedsRestart(uint32_t index, bool* needs_restart) override {
    SP_DEVINFO_DATA member;
    if (!Member(index, &member)) return false;
    SP_DEVINSTALL_PARAMS_A params{};
    params.cbSize = sizeof params;
    if (!SetupDiGetDeviceInstallParamsA(set_.get(), &member, &params)) return false;
    *needs_restart = (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART)) != 0;
    return true;
  }

  WinError WideRegistryProperty(uint32_t index, DeviceProperty property, uint32_t* type,
                                uint8_t* data, uint32_t size, uint32_t* required) override {
    return ReadProperty(SetupDiGetDeviceRegistryPropertyW, index, property, type, data, size,
                        required);
  }

  WinError WideInstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                          uint32_t* required_chars) override {
    SP_DEVINFO_DATA member;
    if (!Member(index, &member)) return GetLastError();
    DWORD required = 0;
    const BOOL done = SetupDiGetDeviceInstanceIdW(
        set_.get(), &member, reinterpret_cast<PWSTR>(buffer), buffer_chars, &required);
    *required_chars = required;
    return done ? kErrorSuccess : GetLastError();
  }

  WinError EnumInterface(const Guid& category, uint32_t index) override {
    SP_DEVICE_INTERFACE_DATA data{};
    return Interface(category, index, &data) ? kErrorSuccess : GetLastError();
  }

  WinError WideInterfacePath(const Guid& category, uint32_t index, char16_t* buffer,
                             uint32_t buffer_chars, uint32_t* required_chars) override {
    SP_DEVICE_INTERFACE_DATA data{};
    if (!Interface(category, index, &data)) return GetLastError();
    constexpr size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    DWORD required_bytes = 0;
    SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, nullptr, 0, &required_bytes, nullptr);
    if (required_bytes <= kPathOffset) return GetLastError();
    *required_chars = static_cast<uint32_t>((required_bytes - kPathOffset) / sizeof(wchar_t));
    if (!buffer || buffer_chars < *required_chars) return ERROR_INSUFFICIENT_BUFFER;
    std::vector<uint8_t> detail_bytes(required_bytes);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail_bytes.data());
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, detail, required_bytes, nullptr,
                                          nullptr)) {
      return GetLastError();
    }
    std::memcpy(buffer, detail->DevicePath, *required_chars * sizeof(wchar_t));
    return kErrorSuccess;
  }

 private:
  bool Member(uint32_t index, SP_DEVINFO_DATA* data) {
    data->cbSize = sizeof *data;
    return SetupDiEnumDeviceInfo(set_.get(), index, data) != FALSE;
  }
  // SetupDiGetDeviceRegistryProperty in either text width.
  template <typename ReadCall>
  WinError ReadProperty(ReadCall read, uint32_t index, DeviceProperty property, uint32_t* type,
                        uint8_t* data, uint32_t size, uint32_t* required) {
    SP_DEVINFO_DATA member;
    if (!Member(index, &member)) return GetLastError();
    DWORD value_type = 0;
    DWORD needed = 0;
    const BOOL ok =
        read(set_.get(), &member, PropertyCode(property), &value_type, data, size, &needed);
    const WinError error = ok ? kErrorSuccess : GetLastError();
    if (type != nullptr) *type = value_type;
    if (required != nullptr) *required = needed;
    return error;
  }

  bool Interface(const Guid& category, uint32_t index, SP_DEVICE_INTERFACE_DATA* data) {
    const GUID guid = ToGuid(category);
    data->cbSize = sizeof *data;
    return SetupDiEnumDeviceInterfaces(set_.get(), nullptr, &guid, index, data) != FALSE;
  }

  // Wine's CM_Get_Device_ID_ExA succeeds without writing anything and it lacks
  // CM_Get_Device_ID_Size_Ex, so the local machine is asked through the plain calls, which mean
  // the same on Windows.
  CONFIGRET DeviceIdSize(DEVINST device, ULONG* length) {
    if (machine_ != nullptr) return CM_Get_Device_ID_Size_Ex(length, device, 0, machine_);
    return CM_Get_Device_ID_Size(length, device, 0);
  }

  CONFIGRET ReadDeviceId(DEVINST device, char* buffer, ULONG length) {
    if (machine_ != nullptr) return CM_Get_Device_ID_ExA(device, buffer, length, 0, machine_);
    return CM_Get_Device_IDA(device, buffer, length, 0);
  }

  ScopedDeviceInfoList set_;
  HMACHINE machine_ = nullptr;  // the local machine until the list's details say otherwise
};

std::unique_ptr<DeviceInfoList> Wrap(HDEVINFO set) {
  if (set == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32DeviceInfoList>(set);
}

class Win32DeviceFile : public DeviceFile {
 public:
  explicit Win32DeviceFile(ScopedKernelHandle handle) : handle_(std::move(handle)) {}

  bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
               uint32_t output_bytes) override {
    DWORD returned = 0;
    return DeviceIoControl(handle_.get(), code, const_cast<void*>(input), input_bytes, output,
                           output_bytes, &returned, nullptr) != FALSE;
  }

 private:
  ScopedKernelHandle handle_;
};

}  // namespace

WinError Win32Devices::ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) {
  const std::string name(class_name);
  std::vector<GUID> found(4);
  DWORD required = 0;
  while (!SetupDiClassGuidsFromNameExA(name.c_str(), found.data(), static_cast<DWORD>(found.size()),
                                       &required, nullptr, nullptr)) {
    const DWORD error = GetLastError();
    if (error != ERROR_INSUFFICIENT_BUFFER || required <= found.size()) return error;
    found.resize(required);
  }
  guids->clear();
  for (DWORD i = 0; i < std::min<DWORD>(required, found.size()); ++i) {
    guids->push_back(FromGuid(found[i]));
  }
  return kErrorSuccess;
}

std::unique_ptr<DeviceInfoList> Win32Devices::PresentDevices(const Guid& class_guid) {
  const GUID guid = ToGuid(class_guid);
  return Wrap(
      SetupDiGetClassDevsExA(&guid, nullptr, nullptr, DIGCF_PRESENT, nullptr, nullptr, nullptr));
}

std::unique_ptr<DeviceInfoList> Win32Devices::CreateEmptyList(const Guid& class_guid) {
  const GUID guid = ToGuid(class_guid);
  return Wrap(SetupDiCreateDeviceInfoListExA(&guid, nullptr, nullptr, nullptr));
}

std::unique_ptr<DeviceInfoList> Win32Devices::WidePresentDevices(const Guid& class_guid) {
  const GUID guid = ToGuid(class_guid);
  return Wrap(SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT));
}

std::unique_ptr<DeviceInfoList> Win32Devices::InterfaceDevices(const Guid& category,
                                                               std::u16string_view instance_id,
                                                               WinError* error) {
  const GUID guid = ToGuid(category);
  const std::wstring enumerator = ToWide(instance_id);
  const HDEVINFO set =
      SetupDiGetClassDevsW(&guid, enumerator.c_str(), nullptr, DIGCF_DEVICEINTERFACE);
  *error = set == INVALID_HANDLE_VALUE ? GetLastError() : kErrorSuccess;
  return Wrap(set);
}

std::unique_ptr<DeviceFile> Win32Devices::OpenDeviceFile(std::u16string_view path,
                                                         WinError* error) {
  const std::wstring wide_path = ToWide(path);
  ScopedKernelHandle handle(CreateFileW(wide_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
  if (!handle) {
    *error = GetLastError();
    return nullptr;
  }
  *error = kErrorSuccess;
  return std::make_unique<Win32DeviceFile>(std::move(handle));
}

}  // namespace platform::win32
