// The program side of the stand-in driver's contract, for test clients: finds the virtual audio
// device the way the shipped program does (Media class, hardware id, audio interface), opens it
// and sends the property requests.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "vad_layout.h"

namespace vad {

// The audio interface path of the first present Media device whose first hardware id is
// "*VQVADSimple"; empty when there is none.
std::wstring FindInterfacePath();

class Client {
 public:
  Client() = default;
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  ~Client();

  // Error code of CreateFileW, 0 on success.
  DWORD Open(const std::wstring& path);
  HANDLE handle() const { return handle_; }

  // A property request of the shared-audio set; the Windows error code, 0 on success.
  DWORD Property(uint32_t id, uint32_t flags, void* value, DWORD value_size);
  // The raw request, for tests of malformed ones.
  DWORD RawRequest(const void* property, DWORD property_size, void* value, DWORD value_size);

  DWORD Query(VadQueryReply* reply);
  DWORD Map(VadSharedAddresses* addresses);
  DWORD Confirm(const VadSharedAddresses& addresses);
  DWORD Unmap(const VadSharedAddresses& addresses);

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A whole copy of the status block at a mapped address, as readers take it.
VadStatusBlock Snapshot(uint32_t status_block_address);

}  // namespace vad
