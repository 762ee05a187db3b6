// The process-wide type information of the service interface and its name table, loaded
// once from the registered type library and released at module termination.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include "upnp/name_table.h"

namespace upnp::win32 {

class TypeInfoCache {
 public:
  // Loads on first use; a failure caches nothing, so the next call tries again. On success
  // the returned pointers stay valid until module termination.
  static HRESULT Get(LCID locale, ITypeInfo** info, const NameTable** names);

 private:
  static HRESULT Load(LCID locale);
  static HRESULT BuildNames(ITypeInfo* info, NameTable* names);
};

}  // namespace upnp::win32
