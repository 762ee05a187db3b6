#include "platform/win32/win32_os_version.h"

#include <windows.h>

namespace platform::win32 {

std::optional<OsVersionRecord> Win32OsVersion::QueryExtended() {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::nullopt;
  return OsVersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                         info.dwPlatformId, info.wProductType};
}

std::optional<OsVersionRecord> Win32OsVersion::QueryBasic() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return std::nullopt;
  return OsVersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                         info.dwPlatformId, 0};
}

std::optional<bool> Win32OsVersion::IsWow64() {
  using IsWow64Process = BOOL(WINAPI*)(HANDLE, BOOL*);
  HMODULE kernel = GetModuleHandleA("KERNEL32");
  if (kernel == nullptr) return std::nullopt;
  const auto function = reinterpret_cast<IsWow64Process>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  if (function == nullptr || !function(GetCurrentProcess(), &wow64)) return std::nullopt;
  return wow64 != FALSE;
}

}  // namespace platform::win32
