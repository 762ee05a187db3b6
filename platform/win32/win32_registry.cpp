#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "win32_registry_key.h"

namespace platform::win32 {

namespace {

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::kUsers:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

Win32RegistryKey RootOf(RootKey root, RegistryView view) {
  return Win32RegistryKey(RootHandle(root), view);
}

}  // namespace

WinError Win32Registry::CreateKey(RootKey root, std::string_view path, uint32_t access,
                                  RegistryView view, std::unique_ptr<RegistryKey>* key,
                                  bool* created) {
  return RootOf(root, view).CreateSubKey(path, access, key, created);
}

WinError Win32Registry::OpenKey(RootKey root, std::string_view path, uint32_t access,
                                RegistryView view, std::unique_ptr<RegistryKey>* key) {
  return RootOf(root, view).OpenSubKey(path, access, key);
}

WinError Win32Registry::DeleteKey(RootKey root, std::string_view path, RegistryView view) {
  return RootOf(root, view).DeleteSubKey(path);
}

WinError Win32Registry::CreateKey(RootKey root, std::u16string_view path, uint32_t access,
                                  RegistryView view, std::unique_ptr<RegistryKey>* key,
                                  bool* created) {
  return RootOf(root, view).CreateSubKey(path, access, key, created);
}

WinError Win32Registry::OpenKey(RootKey root, std::u16string_view path, uint32_t access,
                                RegistryView view, std::unique_ptr<RegistryKey>* key) {
  return RootOf(root, view).OpenSubKey(path, access, key);
}

WinError Win32Registry::DeleteKey(RootKey root, std::u16string_view path, RegistryView view) {
  return RootOf(root, view).DeleteSubKey(path);
}

}  // namespace platform::win32
