#include "bench/win32/win32_composition.h"

#include <windows.h>

#include "platform/win32/scoped_handles.h"

namespace vexmark::win32 {

bool Win32CompositionQuery::DwmIsCompositionEnabled() {
  const platform::win32::ScopedModule module(LoadLibraryA("dwmapi.dll"));
  if (!module) return false;
  using QueryFn = HRESULT(WINAPI*)(BOOL*);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), "DwmIsCompositionEnabled")));
  BOOL enabled = FALSE;
  if (query && FAILED(query(&enabled))) enabled = FALSE;
  return enabled != FALSE;
}

}  // namespace vexmark::win32
