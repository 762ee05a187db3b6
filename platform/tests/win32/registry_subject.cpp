#include <windows.h>

#include "platform/win32/win32_registry.h"
#include "registry_subject.h"

namespace registry_contract {

std::unique_ptr<platform::Registry> MakeRegistry() {
  return std::make_unique<platform::win32::Win32Registry>();
}

bool HasSeparate64BitView() {
#ifdef _WIN64
  return true;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace registry_contract
