// What the filter driver client needs from the system: the control device, the display kernel
// thunks of gdi32, the driver's two named update events and the mapping of the 32-bit
// addresses the driver hands over.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace vexmark {

using DcHandle = std::uint64_t;  // 0: none

// CreateFileA and DeviceIoControl on "\\.\ZynKmdFltr".
class FilterDevice {
 public:
  virtual ~FilterDevice() = default;
  // Read and write access, no sharing, open existing: 0, or the last error.
  virtual std::uint32_t Open(const std::string& path) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // A buffered IOCTL without input: 0 on success, else the last error.
  virtual std::uint32_t Control(std::uint32_t code, std::span<std::uint8_t> output) = 0;
};

// D3DKMTOpenAdapterFromHdc, D3DKMTCloseAdapter, D3DKMTEscape (D3DKMTQueryAdapterInfo is looked
// up by Load but never called). Statuses are NTSTATUS values, 0 for success.
class DisplayKernelThunks {
 public:
  virtual ~DisplayKernelThunks() = default;
  // Loads gdi32 and looks up all four functions; false when any is missing.
  virtual bool Load() = 0;
  virtual void Unload() = 0;
  virtual std::int32_t OpenAdapterFromHdc(DcHandle dc, std::uint32_t& adapter) = 0;
  virtual std::int32_t CloseAdapter(std::uint32_t adapter) = 0;
  // A driver-private escape to the adapter, no device, no context, with these flags.
  virtual std::int32_t Escape(std::uint32_t adapter, std::uint32_t flags,
                              std::span<std::uint8_t> private_data) = 0;
};

// The global events "Global\SendPingUpdateInProgress" (index 0) and
// "Global\SendPongUpdateInProgress" (index 1).
class UpdateEvents {
 public:
  enum class WaitKind { kPing, kPong, kTimedOut, kFailed };
  virtual ~UpdateEvents() = default;
  // Opens with all event access, inheritable: 0, or the last error.
  virtual std::uint32_t Open(int index, const std::string& name) = 0;
  virtual void Close(int index) = 0;
  virtual void Reset(int index) = 0;
  // Waits for either open event; error receives the last error of a failed wait.
  virtual WaitKind Wait(std::uint32_t timeout_ms, std::uint32_t& error) = 0;
};

// The process's memory as the driver addresses it.
class AddressSpace {
 public:
  virtual ~AddressSpace() = default;
  // The address the driver is given for a buffer of this process.
  virtual std::uint64_t AddressOf(const void* buffer) = 0;
  // The readable memory of length bytes at a driver-given address; empty when that range is
  // not readable in this process.
  virtual std::span<const std::uint8_t> Resolve(std::uint32_t address, std::size_t length) = 0;
};

}  // namespace vexmark
