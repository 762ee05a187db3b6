#include "bench/win32/win32_kmd.h"

#include <windows.h>

#include <cstdint>
#include <utility>

#include "platform/readable_memory.h"
#include "platform/win32/win32_address_space.h"
#include "platform/win_error.h"

namespace vexmark::win32 {

namespace {

// The display kernel thunks' records (d3dkmthk.h is not part of the toolchain).
using KmtHandle = UINT;
struct OpenAdapterFromHdcArgs {
  HDC hDc;
  KmtHandle hAdapter;
  LUID AdapterLuid;
  UINT VidPnSourceId;
};
struct CloseAdapterArgs {
  KmtHandle hAdapter;
};
struct EscapeArgs {
  KmtHandle hAdapter;
  KmtHandle hDevice;
  INT Type;  // 0: driver-private
  UINT Flags;
  void* pPrivateDriverData;
  UINT PrivateDriverDataSize;
  KmtHandle hContext;
};
using OpenAdapterFn = LONG(APIENTRY*)(OpenAdapterFromHdcArgs*);
using CloseAdapterFn = LONG(APIENTRY*)(CloseAdapterArgs*);
using EscapeFn = LONG(APIENTRY*)(EscapeArgs*);

}  // namespace

std::uint32_t Win32FilterDevice::Open(const std::string& path) {
  Close();
  platform::win32::ScopedKernelHandle handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                         0, nullptr, OPEN_EXISTING,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return GetLastError();
  handle_ = std::move(handle);
  return 0;
}

void Win32FilterDevice::Close() { handle_.reset(); }

std::uint32_t Win32FilterDevice::Control(std::uint32_t code, std::span<std::uint8_t> output) {
  DWORD returned = 0;
  if (DeviceIoControl(handle_.get(), code, nullptr, 0, output.data(),
                      static_cast<DWORD>(output.size()), &returned, nullptr)) {
    return 0;
  }
  return GetLastError();
}

bool Win32DisplayKernelThunks::Load() {
  Unload();
  gdi32_.reset(LoadLibraryA("gdi32.dll"));
  if (!gdi32_) return false;
  const HMODULE module = gdi32_.get();
  open_adapter_ = reinterpret_cast<void*>(GetProcAddress(module, "D3DKMTOpenAdapterFromHdc"));
  close_adapter_ = reinterpret_cast<void*>(GetProcAddress(module, "D3DKMTCloseAdapter"));
  escape_ = reinterpret_cast<void*>(GetProcAddress(module, "D3DKMTEscape"));
  query_adapter_info_ = reinterpret_cast<void*>(GetProcAddress(module, "D3DKMTQueryAdapterInfo"));
  return open_adapter_ && close_adapter_ && escape_ && query_adapter_info_;
}

void Win32DisplayKernelThunks::Unload() {
  gdi32_.reset();
  open_adapter_ = close_adapter_ = escape_ = query_adapter_info_ = nullptr;
}

std::int32_t Win32DisplayKernelThunks::OpenAdapterFromHdc(DcHandle dc, std::uint32_t& adapter) {
  if (!open_adapter_) return platform::kErrorNotSupported;
  OpenAdapterFromHdcArgs args{};
  args.hDc = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(dc));
  LONG status = reinterpret_cast<OpenAdapterFn>(open_adapter_)(&args);
  if (status == 0) adapter = args.hAdapter;
  return status;
}

std::int32_t Win32DisplayKernelThunks::CloseAdapter(std::uint32_t adapter) {
  if (!close_adapter_) return platform::kErrorNotSupported;
  CloseAdapterArgs args{adapter};
  return reinterpret_cast<CloseAdapterFn>(close_adapter_)(&args);
}

std::int32_t Win32DisplayKernelThunks::Escape(std::uint32_t adapter, std::uint32_t flags,
                                              std::span<std::uint8_t> private_data) {
  if (!escape_) return platform::kErrorNotSupported;
  EscapeArgs args{};
  args.hAdapter = adapter;
  args.Type = 0;
  args.Flags = flags;
  args.pPrivateDriverData = private_data.data();
  args.PrivateDriverDataSize = static_cast<UINT>(private_data.size());
  return reinterpret_cast<EscapeFn>(escape_)(&args);
}

std::uint32_t Win32UpdateEvents::Open(int index, const std::string& name) {
  Close(index);
  platform::win32::ScopedKernelHandle event(OpenEventA(EVENT_ALL_ACCESS, TRUE, name.c_str()));
  if (!event) return GetLastError();
  events_[index] = std::move(event);
  return 0;
}

void Win32UpdateEvents::Close(int index) { events_[index].reset(); }

void Win32UpdateEvents::Reset(int index) {
  if (events_[index]) ResetEvent(events_[index].get());
}

UpdateEvents::WaitKind Win32UpdateEvents::Wait(std::uint32_t timeout_ms, std::uint32_t& error) {
  HANDLE handles[2] = {events_[0].get(), events_[1].get()};
  DWORD result = WaitForMultipleObjects(2, handles, FALSE, timeout_ms);
  if (result == WAIT_OBJECT_0) return WaitKind::kPing;
  if (result == WAIT_OBJECT_0 + 1) return WaitKind::kPong;
  if (result == WAIT_TIMEOUT) return WaitKind::kTimedOut;
  error = GetLastError();
  return WaitKind::kFailed;
}

std::uint64_t Win32AddressSpace::AddressOf(const void* buffer) {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(buffer));
}

std::span<const std::uint8_t> Win32AddressSpace::Resolve(std::uint32_t address,
                                                         std::size_t length) {
  const std::uintptr_t start = address;
  platform::win32::Win32AddressSpace space;
  if (!platform::IsReadableRange(space, start, length)) return {};
  return {reinterpret_cast<const std::uint8_t*>(start), length};
}

}  // namespace vexmark::win32
