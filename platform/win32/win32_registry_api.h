// The 8-bit and the wide registry calls behind one set of names, so the registry adapter
// writes each operation once for both widths.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

struct NarrowRegistryApi {
  using View = std::string_view;
  using Text = std::string;
  using Char = char;
  static std::string Terminated(View text) { return std::string(text); }
  static Text FromApi(const Char* text, size_t length) { return Text(text, length); }
  static constexpr const char* kDeleteKeyEx = "RegDeleteKeyExA";

  static LONG Create(HKEY key, const Char* path, REGSAM access, HKEY* opened, DWORD* disposition) {
    return RegCreateKeyExA(key, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, opened,
                           disposition);
  }
  static LONG Open(HKEY key, const Char* path, REGSAM access, HKEY* opened) {
    return RegOpenKeyExA(key, path, 0, access, opened);
  }
  static LONG Delete(HKEY key, const Char* path) { return RegDeleteKeyA(key, path); }
  static LONG Enum(HKEY key, DWORD index, Char* name, DWORD* length) {
    return RegEnumKeyExA(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  }
  static LONG Set(HKEY key, const Char* name, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExA(key, name, 0, type, data, size);
  }
  static LONG Query(HKEY key, const Char* name, DWORD* type, BYTE* data, DWORD* size) {
    return RegQueryValueExA(key, name, nullptr, type, data, size);
  }
  static LONG DeleteValue(HKEY key, const Char* name) { return RegDeleteValueA(key, name); }
};

struct WideRegistryApi {
  using View = std::u16string_view;
  using Text = std::u16string;
  using Char = wchar_t;
  static std::wstring Terminated(View text) { return ToWide(text); }
  static Text FromApi(const Char* text, size_t length) {
    return FromWide(std::wstring_view(text, length));
  }
  static constexpr const char* kDeleteKeyEx = "RegDeleteKeyExW";

  static LONG Create(HKEY key, const Char* path, REGSAM access, HKEY* opened, DWORD* disposition) {
    return RegCreateKeyExW(key, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, opened,
                           disposition);
  }
  static LONG Open(HKEY key, const Char* path, REGSAM access, HKEY* opened) {
    return RegOpenKeyExW(key, path, 0, access, opened);
  }
  static LONG Delete(HKEY key, const Char* path) { return RegDeleteKeyW(key, path); }
  static LONG Enum(HKEY key, DWORD index, Char* name, DWORD* length) {
    return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  }
  static LONG Set(HKEY key, const Char* name, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExW(key, name, 0, type, data, size);
  }
  static LONG Query(HKEY key, const Char* name, DWORD* type, BYTE* data, DWORD* size) {
    return RegQueryValueExW(key, name, nullptr, type, data, size);
  }
  static LONG DeleteValue(HKEY key, const Char* name) { return RegDeleteValueW(key, name); }
};

}  // namespace platform::win32
