#include "gdi_paint_surface.h"

#include <string>
#include <tuple>
#include <utility>

#include "platform/win32/wide_text.h"

namespace ui {
namespace {

using platform::win32::ScopedGdiObject;

COLORREF ToColorRef(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Blends a translucent colour over the rectangle through a one-pixel premultiplied bitmap.
void BlendColor(HDC dc, const Rect& rect, uint32_t argb) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  ScopedGdiObject pixel(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!pixel) return;
  uint32_t a = argb >> 24;
  auto premultiply = [a](uint32_t c) { return c * a / 255; };
  *static_cast<uint32_t*>(bits) = a << 24 | premultiply((argb >> 16) & 0xFF) << 16 |
                                  premultiply((argb >> 8) & 0xFF) << 8 | premultiply(argb & 0xFF);
  HDC source = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(source, pixel.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, rect.left, rect.top, rect.Width(), rect.Height(), source, 0, 0, 1, 1, blend);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

}  // namespace

GdiPaintSurface::GdiPaintSurface(HWND hwnd, GdiFontCache& fonts) : hwnd_(hwnd), fonts_(fonts) {
  window_dc_ = ::BeginPaint(hwnd_, &paint_);
  ::GetClientRect(hwnd_, &client_);
  memory_dc_ = ::CreateCompatibleDC(window_dc_);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = client_.right > 0 ? client_.right : 1;
  info.bmiHeader.biHeight = -(client_.bottom > 0 ? client_.bottom : 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  bitmap_.reset(::CreateDIBSection(window_dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  old_bitmap_ = ::SelectObject(memory_dc_, bitmap_.get());
  // Outside the skin's rounded corners the window region cuts the window away.
  ::PatBlt(memory_dc_, 0, 0, client_.right, client_.bottom, BLACKNESS);
  ::SetBkMode(memory_dc_, TRANSPARENT);
}

GdiPaintSurface::~GdiPaintSurface() {
  const RECT& r = paint_.rcPaint;
  ::BitBlt(window_dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, memory_dc_, r.left, r.top,
           SRCCOPY);
  ::SelectObject(memory_dc_, old_bitmap_);
  ::DeleteDC(memory_dc_);
  ::EndPaint(hwnd_, &paint_);
}

void GdiPaintSurface::FillRect(const Rect& rect, uint32_t argb) {
  if (argb >> 24 == 0xFF) {
    ScopedGdiObject brush(::CreateSolidBrush(ToColorRef(argb)));
    RECT r = ToRect(rect);
    ::FillRect(memory_dc_, &r, static_cast<HBRUSH>(brush.get()));
  } else if (argb >> 24 != 0) {
    BlendColor(memory_dc_, rect, argb);
  }
}

void GdiPaintSurface::DrawBorder(const Rect& rect, uint32_t argb, int width) {
  for (int i = 0; i < width; ++i) {
    Rect r{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
    FillRect(Rect{r.left, r.top, r.right, r.top + 1}, argb);
    FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, argb);
    FillRect(Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1}, argb);
    FillRect(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, argb);
  }
}

void GdiPaintSurface::DrawImage(const UiImage& image, const Rect& dest) {
  const auto& gdi = static_cast<const GdiImage&>(image);
  Size size = gdi.GetSize();
  HDC source = ::CreateCompatibleDC(memory_dc_);
  HGDIOBJ old = ::SelectObject(source, gdi.Bitmap());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(memory_dc_, dest.left, dest.top, dest.Width(), dest.Height(), source, 0, 0, size.cx,
               size.cy, blend);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

HFONT GdiPaintSurface::FontFor(const FontSpec& font) {
  auto key = std::make_tuple(font.face, font.size, font.bold);
  auto known = fonts_.find(key);
  if (known != fonts_.end()) return static_cast<HFONT>(known->second.get());
  std::wstring face = platform::win32::ToWide(font.face);
  HFONT handle = ::CreateFontW(-font.size, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               CLEARTYPE_QUALITY, DEFAULT_PITCH, face.c_str());
  // A font that could not be made is tried again for the next text.
  if (handle != nullptr) fonts_.emplace(std::move(key), ScopedGdiObject(handle));
  return handle;
}

void GdiPaintSurface::DrawText(const std::u16string& text, const Rect& rect, uint32_t argb,
                               const FontSpec& font, TextAlign align) {
  HFONT handle = FontFor(font);
  HGDIOBJ old = handle != nullptr ? ::SelectObject(memory_dc_, handle) : nullptr;
  ::SetTextColor(memory_dc_, ToColorRef(argb));
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  format |= align == TextAlign::kCenter  ? DT_CENTER
            : align == TextAlign::kRight ? DT_RIGHT
                                         : DT_LEFT;
  std::wstring wide = platform::win32::ToWide(text);
  RECT r = ToRect(rect);
  ::DrawTextW(memory_dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
  if (old != nullptr) ::SelectObject(memory_dc_, old);
  // DrawText leaves the alpha byte of the pixels it wrote at 0; nothing reads it afterwards,
  // since the finished bitmap is copied with BitBlt.
}

void GdiPaintSurface::PushClip(const Rect& rect) {
  ::SaveDC(memory_dc_);
  ::IntersectClipRect(memory_dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiPaintSurface::PopClip() { ::RestoreDC(memory_dc_, -1); }

}  // namespace ui
