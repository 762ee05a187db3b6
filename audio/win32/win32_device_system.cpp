#include <windows.h>
// The device installer headers need windows.h first.
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "audio/win32/win32_audio_adapters.h"
#include "platform/win32/native_guid.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace audio::win32 {

namespace {

using platform::WinError;

using platform::win32::ToGuid;

WinError LastError() { return static_cast<WinError>(GetLastError()); }

class Win32DeviceInfoSet : public DeviceInfoSet {
 public:
  explicit Win32DeviceInfoSet(platform::win32::ScopedDeviceInfoList set) : set_(std::move(set)) {}

  bool EnumDevice(uint32_t index) override {
    SP_DEVINFO_DATA device{};
    return Device(index, &device);
  }

  WinError ReadIdList(uint32_t index, DeviceIdList list, uint8_t* buffer,
                      uint32_t buffer_bytes) override {
    SP_DEVINFO_DATA device{};
    if (!Device(index, &device)) return LastError();
    const DWORD property =
        list == DeviceIdList::kHardwareIds ? SPDRP_HARDWAREID : SPDRP_COMPATIBLEIDS;
    return SetupDiGetDeviceRegistryPropertyW(set_.get(), &device, property, nullptr, buffer,
                                             buffer_bytes, nullptr)
               ? ERROR_SUCCESS
               : LastError();
  }

  WinError InstanceId(uint32_t index, char16_t* buffer, uint32_t buffer_chars,
                      uint32_t* required_chars) override {
    SP_DEVINFO_DATA device{};
    if (!Device(index, &device)) return LastError();
    DWORD required = 0;
    const BOOL done = SetupDiGetDeviceInstanceIdW(
        set_.get(), &device, reinterpret_cast<PWSTR>(buffer), buffer_chars, &required);
    *required_chars = required;
    return done ? ERROR_SUCCESS : LastError();
  }

  WinError EnumInterface(const platform::Guid& category, uint32_t index) override {
    SP_DEVICE_INTERFACE_DATA data{};
    return Interface(category, index, &data) ? ERROR_SUCCESS : LastError();
  }

  WinError InterfacePath(const platform::Guid& category, uint32_t index, char16_t* buffer,
                         uint32_t buffer_chars, uint32_t* required_chars) override {
    SP_DEVICE_INTERFACE_DATA data{};
    if (!Interface(category, index, &data)) return LastError();
    constexpr size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    DWORD required_bytes = 0;
    SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, nullptr, 0, &required_bytes, nullptr);
    if (required_bytes <= kPathOffset) return LastError();
    *required_chars = static_cast<uint32_t>((required_bytes - kPathOffset) / sizeof(wchar_t));
    if (!buffer || buffer_chars < *required_chars) return ERROR_INSUFFICIENT_BUFFER;
    std::vector<uint8_t> detail_bytes(required_bytes);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail_bytes.data());
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailW(set_.get(), &data, detail, required_bytes, nullptr,
                                          nullptr)) {
      return LastError();
    }
    std::memcpy(buffer, detail->DevicePath, *required_chars * sizeof(wchar_t));
    return ERROR_SUCCESS;
  }

 private:
  bool Device(uint32_t index, SP_DEVINFO_DATA* device) {
    device->cbSize = sizeof *device;
    return SetupDiEnumDeviceInfo(set_.get(), index, device) != FALSE;
  }
  bool Interface(const platform::Guid& category, uint32_t index, SP_DEVICE_INTERFACE_DATA* data) {
    const GUID guid = ToGuid(category);
    data->cbSize = sizeof *data;
    return SetupDiEnumDeviceInterfaces(set_.get(), nullptr, &guid, index, data) != FALSE;
  }

  platform::win32::ScopedDeviceInfoList set_;
};

class Win32DeviceFile : public DeviceFile {
 public:
  explicit Win32DeviceFile(platform::win32::ScopedKernelHandle handle)
      : handle_(std::move(handle)) {}

  bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
               uint32_t output_bytes) override {
    DWORD returned = 0;
    return DeviceIoControl(handle_.get(), code, const_cast<void*>(input), input_bytes, output,
                           output_bytes, &returned, nullptr) != FALSE;
  }

 private:
  platform::win32::ScopedKernelHandle handle_;
};

std::unique_ptr<DeviceInfoSet> MakeSet(HDEVINFO made, WinError* error) {
  platform::win32::ScopedDeviceInfoList set(made);
  if (!set) {
    *error = LastError();
    return nullptr;
  }
  *error = ERROR_SUCCESS;
  return std::make_unique<Win32DeviceInfoSet>(std::move(set));
}

}  // namespace

std::unique_ptr<DeviceInfoSet> Win32DeviceSystem::PresentDevices(const platform::Guid& setup_class,
                                                                 WinError* error) {
  const GUID guid = ToGuid(setup_class);
  return MakeSet(SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT), error);
}

std::unique_ptr<DeviceInfoSet> Win32DeviceSystem::InterfaceDevices(const platform::Guid& category,
                                                                   std::u16string_view instance_id,
                                                                   WinError* error) {
  const GUID guid = ToGuid(category);
  const std::wstring enumerator = platform::win32::ToWide(instance_id);
  return MakeSet(SetupDiGetClassDevsW(&guid, enumerator.c_str(), nullptr, DIGCF_DEVICEINTERFACE),
                 error);
}

std::unique_ptr<DeviceFile> Win32DeviceSystem::OpenFile(std::u16string_view path, WinError* error) {
  const std::wstring wide_path = platform::win32::ToWide(path);
  platform::win32::ScopedKernelHandle handle(
      CreateFileW(wide_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!handle) {
    *error = LastError();
    return nullptr;
  }
  *error = ERROR_SUCCESS;
  return std::make_unique<Win32DeviceFile>(std::move(handle));
}

}  // namespace audio::win32
