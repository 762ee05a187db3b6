#include "readable_memory_subject.h"

#include <windows.h>

#include "platform/win32/win32_address_space.h"

namespace platform::testing {

namespace {

void* Pointer(uint64_t address) { return reinterpret_cast<void*>(static_cast<uintptr_t>(address)); }

class Win32ReadableMemorySubject : public ReadableMemorySubject {
 public:
  AddressSpace& space() override { return space_; }
  uint64_t PageSize() override {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
  }
  uint64_t Allocate(uint64_t pages) override {
    return reinterpret_cast<uintptr_t>(VirtualAlloc(nullptr,
                                                    static_cast<SIZE_T>(pages * PageSize()),
                                                    MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  }
  bool Protect(uint64_t address, uint64_t pages, uint32_t protection) override {
    DWORD old = 0;
    return VirtualProtect(Pointer(address), static_cast<SIZE_T>(pages * PageSize()), protection,
                          &old) != FALSE;
  }
  bool Release(uint64_t allocation) override {
    return VirtualFree(Pointer(allocation), 0, MEM_RELEASE) != FALSE;
  }

 private:
  win32::Win32AddressSpace space_;
};

}  // namespace

std::unique_ptr<ReadableMemorySubject> MakeReadableMemorySubject() {
  return std::make_unique<Win32ReadableMemorySubject>();
}

}  // namespace platform::testing
