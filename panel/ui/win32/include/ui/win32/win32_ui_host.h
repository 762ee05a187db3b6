// The Windows side of a skinned window: the window port on GDI (double-buffered painting,
// capture, invalidation, cross-thread wake-up), PNG decoding with alpha on GDI+, and skin
// files read from disk. One Win32UiHost per window, created in its WM_CREATE.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/win32/scoped_handles.h"
#include "ui/ui_ports.h"

namespace ui {

// The fonts a window's text has asked for, by (face, pixel size, bold); the skin uses few.
using GdiFontCache =
    std::map<std::tuple<std::u16string, int, bool>, platform::win32::ScopedGdiObject>;

class GdiWindowPort : public UiWindowPort {
 public:
  explicit GdiWindowPort(HWND hwnd) : hwnd_(hwnd) {}
  Rect GetClientRect() override;
  void Invalidate(const Rect& rect) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void TrackMouseLeave() override;
  std::unique_ptr<PaintSurface> BeginPaint() override;
  void PostInvoke() override;

 private:
  HWND hwnd_;
  // Made on first use and kept while the window lives, not made again on every paint.
  GdiFontCache fonts_;
};

// Keeps GDI+ started while it lives.
class GdiplusImageDecoder : public ImageDecoder {
 public:
  GdiplusImageDecoder();
  ~GdiplusImageDecoder() override;
  std::shared_ptr<UiImage> Decode(const std::vector<uint8_t>& bytes) override;

 private:
  ULONG_PTR token_ = 0;
};

class Win32ResourceFiles : public ResourceFiles {
 public:
  std::optional<std::vector<uint8_t>> ReadFile(const std::u16string& path,
                                               uint64_t max_bytes) override;
};

// The folder of the running program, with a trailing backslash.
std::u16string GetInstancePath();

}  // namespace ui
