// The filter driver's channels on the real system: its control device, the display kernel
// thunks of gdi32, its two global update events and this process's memory.
#pragma once
#include "bench/core/kmd_ports.h"
#include "platform/win32/scoped_handles.h"

namespace vexmark::win32 {

class Win32FilterDevice : public FilterDevice {
 public:
  std::uint32_t Open(const std::string& path) override;
  void Close() override;
  bool IsOpen() const override { return handle_.valid(); }
  std::uint32_t Control(std::uint32_t code, std::span<std::uint8_t> output) override;

 private:
  platform::win32::ScopedKernelHandle handle_;
};

class Win32DisplayKernelThunks : public DisplayKernelThunks {
 public:
  bool Load() override;
  void Unload() override;
  std::int32_t OpenAdapterFromHdc(DcHandle dc, std::uint32_t& adapter) override;
  std::int32_t CloseAdapter(std::uint32_t adapter) override;
  std::int32_t Escape(std::uint32_t adapter, std::uint32_t flags,
                      std::span<std::uint8_t> private_data) override;

 private:
  platform::win32::ScopedModule gdi32_;
  void* open_adapter_ = nullptr;
  void* close_adapter_ = nullptr;
  void* escape_ = nullptr;
  void* query_adapter_info_ = nullptr;
};

class Win32UpdateEvents : public UpdateEvents {
 public:
  std::uint32_t Open(int index, const std::string& name) override;
  void Close(int index) override;
  void Reset(int index) override;
  WaitKind Wait(std::uint32_t timeout_ms, std::uint32_t& error) override;

 private:
  platform::win32::ScopedKernelHandle events_[2];
};

class Win32AddressSpace : public AddressSpace {
 public:
  std::uint64_t AddressOf(const void* buffer) override;
  std::span<const std::uint8_t> Resolve(std::uint32_t address, std::size_t length) override;
};

}  // namespace vexmark::win32
