// A stand-in for the driver package installer: DriverPackageUninstallA reports its
// arguments on the debugger output stream and answers success, touching no files.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    DriverPackageUninstallA(const char* inf_path, DWORD flags, const void* installer_info,
                            BOOL* need_reboot) {
  char line[600];
  std::snprintf(line, sizeof(line), "DriverPackageUninstallA %s flags=%lu info=%d\n",
                inf_path ? inf_path : "(null)", flags, installer_info != nullptr ? 1 : 0);
  OutputDebugStringA(line);
  if (need_reboot) *need_reboot = FALSE;
  return ERROR_SUCCESS;
}
