// Owners of the COM values the adapters hand to and take from COM calls: strings (BSTR) and
// variants. Use these instead of hand-written owners or explicit frees.
#pragma once
#include <windows.h>
// oleauto.h needs the definitions of windows.h first.
#include <oleauto.h>

#include <string_view>

#include "platform/scoped_handle.h"

namespace platform::win32 {

struct BstrTraits {
  using Handle = BSTR;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { SysFreeString(h); }
};

// put() frees what is held before a call writes a new string into it.
using ScopedBstr = ScopedHandle<BstrTraits>;

// A string of the text, embedded nulls kept; empty only when memory ran out.
inline ScopedBstr MakeBstr(std::wstring_view text) {
  return ScopedBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}
inline ScopedBstr MakeBstr(std::u16string_view text) {
  return MakeBstr(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

// The string's text; a null BSTR reads as the empty string, as COM treats it.
inline std::u16string_view BstrView(BSTR text) {
  if (text == nullptr) return {};
  return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

// A VARIANT that starts empty and is cleared at the end of its scope, releasing the string,
// array or object it holds.
struct ScopedVariant : VARIANT {
  ScopedVariant() { VariantInit(this); }
  ~ScopedVariant() { VariantClear(this); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
};

}  // namespace platform::win32
