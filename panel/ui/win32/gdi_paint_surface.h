// The paint surface on GDI: drawing goes into a 32-bit memory bitmap the size of the client
// area, copied to the window in one blit when the surface is destroyed, so nothing flickers.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/win32/scoped_handles.h"
#include "ui/paint_surface.h"
#include "ui/win32/win32_ui_host.h"

namespace ui {

// A decoded image as a premultiplied 32-bit DIB section, as AlphaBlend wants it.
class GdiImage : public UiImage {
 public:
  GdiImage(platform::win32::ScopedGdiObject bitmap, Size size)
      : bitmap_(std::move(bitmap)), size_(size) {}
  Size GetSize() const override { return size_; }
  HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }

 private:
  platform::win32::ScopedGdiObject bitmap_;
  Size size_;
};

class GdiPaintSurface : public PaintSurface {
 public:
  // Fonts come from and go into `fonts`, which outlives the surface.
  GdiPaintSurface(HWND hwnd, GdiFontCache& fonts);
  ~GdiPaintSurface() override;

  void FillRect(const Rect& rect, uint32_t argb) override;
  void DrawBorder(const Rect& rect, uint32_t argb, int width) override;
  void DrawImage(const UiImage& image, const Rect& dest) override;
  void DrawText(const std::u16string& text, const Rect& rect, uint32_t argb, const FontSpec& font,
                TextAlign align) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;

 private:
  HFONT FontFor(const FontSpec& font);

  HWND hwnd_;
  GdiFontCache& fonts_;
  PAINTSTRUCT paint_{};
  HDC window_dc_ = nullptr;
  HDC memory_dc_ = nullptr;
  platform::win32::ScopedGdiObject bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  RECT client_{};
};

}  // namespace ui
