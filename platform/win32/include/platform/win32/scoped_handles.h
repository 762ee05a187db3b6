// Scoped owners for the Windows handles the adapters hold; each closes its handle with the
// call that handle needs. Use these instead of hand-written RAII classes or explicit closes.
#pragma once
#include <windows.h>
// setupapi.h needs the definitions of windows.h first.
#include <setupapi.h>

#include "platform/scoped_handle.h"

namespace platform::win32 {

// Kernel objects: events, mutexes, threads, processes, files. Creation calls answer "none"
// with either NULL or INVALID_HANDLE_VALUE depending on the call; both count as empty.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};

// FindFirstFile searches.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

// Open registry keys. The predefined roots (HKEY_CLASSES_ROOT...) are never closed, so an owner
// may also hold a root as the starting point of a path.
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && !IsPredefined(h); }
  static void Close(Handle h) { RegCloseKey(h); }
  static bool IsPredefined(Handle h) { return reinterpret_cast<ULONG_PTR>(h) >= 0x80000000u; }
};

// SetupDiGetClassDevs and SetupDiCreateDeviceInfoList results.
struct DeviceInfoListTraits {
  using Handle = HDEVINFO;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { SetupDiDestroyDeviceInfoList(h); }
};

// Pens, brushes, fonts, bitmaps, regions: not while selected into a device context.
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

// Libraries loaded with LoadLibrary.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

// Windows a program creates and owns (not dialogs ended with EndDialog).
struct WindowTraits {
  using Handle = HWND;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DestroyWindow(h); }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
using ScopedDeviceInfoList = ScopedHandle<DeviceInfoListTraits>;
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedWindow = ScopedHandle<WindowTraits>;

}  // namespace platform::win32
