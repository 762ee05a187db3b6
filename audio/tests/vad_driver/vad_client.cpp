#include "vad_client.h"

// The device installer headers need windows.h first.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>
#include <vector>

namespace vad {

namespace {

constexpr GUID kMediaClass{
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr GUID kAudioCategory{
    0x65E8773E, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

bool FirstHardwareIdMatches(HDEVINFO set, SP_DEVINFO_DATA* device) {
  wchar_t ids[260] = {};
  if (!SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_HARDWAREID, nullptr,
                                         reinterpret_cast<BYTE*>(ids), sizeof ids - 4, nullptr)) {
    return false;
  }
  return _wcsicmp(ids, L"*VQVADSimple") == 0;
}

std::wstring InterfacePathOf(const std::wstring& instance_id) {
  HDEVINFO set =
      SetupDiGetClassDevsW(&kAudioCategory, instance_id.c_str(), nullptr, DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return {};
  std::wstring path;
  SP_DEVICE_INTERFACE_DATA iface{};
  iface.cbSize = sizeof iface;
  if (SetupDiEnumDeviceInterfaces(set, nullptr, &kAudioCategory, 0, &iface)) {
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &required, nullptr);
    std::vector<BYTE> buffer(required + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, static_cast<DWORD>(buffer.size()),
                                         nullptr, nullptr)) {
      path = detail->DevicePath;
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return path;
}

}  // namespace

std::wstring FindInterfacePath() {
  HDEVINFO set = SetupDiGetClassDevsW(&kMediaClass, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return {};
  std::wstring path;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; path.empty() && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    wchar_t instance[MAX_DEVICE_ID_LEN] = {};
    if (FirstHardwareIdMatches(set, &device) &&
        SetupDiGetDeviceInstanceIdW(set, &device, instance, MAX_DEVICE_ID_LEN, nullptr)) {
      path = InterfacePathOf(instance);
    }
  }
  SetupDiDestroyDeviceInfoList(set);
  return path;
}

Client::~Client() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

DWORD Client::Open(const std::wstring& path) {
  HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError();
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = handle;
  return 0;
}

DWORD Client::RawRequest(const void* property, DWORD property_size, void* value, DWORD value_size) {
  DWORD returned = 0;
  if (DeviceIoControl(handle_, VAD_IOCTL_KS_PROPERTY, const_cast<void*>(property), property_size,
                      value, value_size, &returned, nullptr)) {
    return 0;
  }
  return GetLastError();
}

DWORD Client::Property(uint32_t id, uint32_t flags, void* value, DWORD value_size) {
  const VadProperty property{
      {VAD_PROPSET_DATA1, VAD_PROPSET_DATA2, VAD_PROPSET_DATA3, VAD_PROPSET_DATA4}, id, flags};
  return RawRequest(&property, sizeof property, value, value_size);
}

DWORD Client::Query(VadQueryReply* reply) {
  *reply = {};
  reply->size = sizeof *reply;
  return Property(VAD_PROPID_QUERY, VAD_PROPERTY_GET, reply, sizeof *reply);
}

DWORD Client::Map(VadSharedAddresses* addresses) {
  *addresses = {};
  return Property(VAD_PROPID_MAP, VAD_PROPERTY_GET, addresses, sizeof *addresses);
}

DWORD Client::Confirm(const VadSharedAddresses& addresses) {
  VadSharedAddresses value = addresses;
  return Property(VAD_PROPID_CONFIRM, VAD_PROPERTY_SET, &value, sizeof value);
}

DWORD Client::Unmap(const VadSharedAddresses& addresses) {
  VadSharedAddresses value = addresses;
  return Property(VAD_PROPID_UNMAP, VAD_PROPERTY_SET, &value, sizeof value);
}

VadStatusBlock Snapshot(uint32_t status_block_address) {
  VadStatusBlock block;
  std::memcpy(&block, reinterpret_cast<const void*>(static_cast<uintptr_t>(status_block_address)),
              sizeof block);
  return block;
}

}  // namespace vad
