#include "bench/win32/win32_gdi.h"

#include <windows.h>

namespace vexmark::win32 {

namespace {

template <typename T>
T As(std::uint64_t handle) {
  return reinterpret_cast<T>(static_cast<std::uintptr_t>(handle));
}

template <typename T>
std::uint64_t Id(T handle) {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

DcHandle Win32Gdi::GetScreenDC() { return Id(::GetDC(nullptr)); }

bool Win32Gdi::ReleaseScreenDC(DcHandle dc) { return ::ReleaseDC(nullptr, As<HDC>(dc)) == 1; }

DcHandle Win32Gdi::GetWindowDC(WindowHandle window) { return Id(::GetDC(As<HWND>(window))); }

void Win32Gdi::ReleaseWindowDC(WindowHandle window, DcHandle dc) {
  ::ReleaseDC(As<HWND>(window), As<HDC>(dc));
}

DcHandle Win32Gdi::CreateDisplayDC(const std::string& device_name) {
  return Id(::CreateDCA(device_name.c_str(), device_name.c_str(), nullptr, nullptr));
}

DcHandle Win32Gdi::CreateCompatibleDC(DcHandle dc) { return Id(::CreateCompatibleDC(As<HDC>(dc))); }

bool Win32Gdi::DeleteDC(DcHandle dc) { return ::DeleteDC(As<HDC>(dc)) != 0; }

GdiObject Win32Gdi::CreateCompatibleBitmap(DcHandle dc, int width, int height) {
  return Id(::CreateCompatibleBitmap(As<HDC>(dc), width, height));
}

GdiObject Win32Gdi::CreateDIBSection(DcHandle dc, const BitmapInfo& info, std::uint8_t** bits) {
  void* pixels = nullptr;
  HBITMAP section = ::CreateDIBSection(As<HDC>(dc), reinterpret_cast<const BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<std::uint8_t*>(pixels);
  return Id(section);
}

GdiObject Win32Gdi::CreateSolidBrush(std::uint32_t colour) {
  return Id(::CreateSolidBrush(colour));
}

GdiObject Win32Gdi::SelectObject(DcHandle dc, GdiObject object) {
  return Id(::SelectObject(As<HDC>(dc), As<HGDIOBJ>(object)));
}

bool Win32Gdi::DeleteObject(GdiObject object) { return ::DeleteObject(As<HGDIOBJ>(object)) != 0; }

int Win32Gdi::GetDIBits(DcHandle dc, GdiObject bitmap, std::uint32_t start, std::uint32_t lines,
                        void* bits, BitmapInfo& info) {
  return ::GetDIBits(As<HDC>(dc), As<HBITMAP>(bitmap), start, lines, bits,
                     reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

bool Win32Gdi::BitBlt(DcHandle destination, int x, int y, int width, int height, DcHandle source,
                      int source_x, int source_y, std::uint32_t rop) {
  return ::BitBlt(As<HDC>(destination), x, y, width, height, As<HDC>(source), source_x, source_y,
                  rop) != 0;
}

bool Win32Gdi::FillRect(DcHandle dc, const Rect& rect, GdiObject brush) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return ::FillRect(As<HDC>(dc), &r, As<HBRUSH>(brush)) != 0;
}

void Win32Gdi::GdiFlush() { ::GdiFlush(); }

int Win32Gdi::GetDeviceCaps(DcHandle dc, int index) { return ::GetDeviceCaps(As<HDC>(dc), index); }

int Win32Gdi::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

bool Win32Gdi::CurrentDisplayMode(DisplayMode& mode) {
  DEVMODEA devmode{};
  devmode.dmSize = sizeof devmode;
  if (!::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &devmode)) return false;
  mode.width = devmode.dmPelsWidth;
  mode.height = devmode.dmPelsHeight;
  mode.bitsPerPixel = devmode.dmBitsPerPel;
  return true;
}

bool Win32Gdi::EnumDisplayDevice(std::uint32_t index, DisplayDevice& device) {
  DISPLAY_DEVICEA record{};
  record.cb = sizeof record;
  if (!::EnumDisplayDevicesA(nullptr, index, &record, 0)) return false;
  device.name.assign(record.DeviceName, strnlen(record.DeviceName, sizeof record.DeviceName));
  device.state_flags = record.StateFlags;
  device.device_id.assign(record.DeviceID, strnlen(record.DeviceID, sizeof record.DeviceID));
  return true;
}

std::uint32_t Win32Gdi::LastError() { return ::GetLastError(); }

}  // namespace vexmark::win32
