#include "panel/win32/win32_instance_mutex.h"

#include <windows.h>

#include <string>

#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace panel::win32 {
namespace {

constexpr DWORD kMutexAllAccess = 0x1F0001;

}  // namespace

bool Win32InstanceMutex::Exists(std::u16string_view name) {
  std::wstring wide = platform::win32::ToWide(name);
  platform::win32::ScopedKernelHandle opened(::OpenMutexW(kMutexAllAccess, FALSE, wide.c_str()));
  return opened.valid();
}

InstanceMutex::CreateResult Win32InstanceMutex::Create(std::u16string_view name) {
  std::wstring wide = platform::win32::ToWide(name);
  // Never closed: the name marks the running instance until the process ends.
  HANDLE created = ::CreateMutexW(nullptr, FALSE, wide.c_str());
  if (created == nullptr) return CreateResult::kFailed;
  return ::GetLastError() == ERROR_ALREADY_EXISTS ? CreateResult::kAlreadyExisted
                                                  : CreateResult::kCreated;
}

void Win32InstanceMutex::OpenReleaseClose(std::u16string_view name) {
  std::wstring wide = platform::win32::ToWide(name);
  platform::win32::ScopedKernelHandle opened(::OpenMutexW(kMutexAllAccess, FALSE, wide.c_str()));
  if (opened.valid()) ::ReleaseMutex(opened.get());
}

}  // namespace panel::win32
