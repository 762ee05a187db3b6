// Conversions between COM strings and the core's UTF-16 text.
#pragma once
#include <oleauto.h>
#include <windows.h>

#include <string>
#include <string_view>

namespace upnp::win32 {

// A null BSTR reads as the empty string, as COM treats it.
inline std::u16string_view ViewOf(BSTR text) {
  if (text == nullptr) return {};
  return {reinterpret_cast<const char16_t*>(text), SysStringLen(text)};
}

inline const wchar_t* WidePointer(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

// An owned BSTR, freed at the end of its scope.
class ComString {
 public:
  explicit ComString(std::u16string_view text)
      : text_(SysAllocStringLen(WidePointer(text), static_cast<UINT>(text.size()))) {}
  ComString() = default;
  ~ComString() { SysFreeString(text_); }
  ComString(const ComString&) = delete;
  ComString& operator=(const ComString&) = delete;

  BSTR get() const { return text_; }
  BSTR* out() { return &text_; }

 private:
  BSTR text_ = nullptr;
};

}  // namespace upnp::win32
