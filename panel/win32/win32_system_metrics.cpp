#include "panel/win32/win32_system_metrics.h"

#include <windows.h>

namespace panel::win32 {

int32_t Win32SystemMetrics::Get(int32_t index) { return GetSystemMetrics(index); }

}  // namespace panel::win32
