#include "panel/win32/system_metrics_win32.h"

#include <windows.h>

namespace panel {

int32_t Win32SystemMetrics::Get(int32_t index) { return GetSystemMetrics(index); }

}  // namespace panel
