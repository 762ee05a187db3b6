// Reads the service interface's type information from the registered type library, with the
// name table of its members, for the module's type-info cache.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include <cstdint>

#include "platform/com_ptr.h"
#include "upnp/core/name_table.h"

namespace upnp::win32 {

using ServiceTypeInfo = platform::ComPtr<ITypeInfo>;

HRESULT LoadServiceTypeInfo(uint32_t locale, ServiceTypeInfo* info, NameTable* names);

}  // namespace upnp::win32
