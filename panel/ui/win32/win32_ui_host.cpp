#include "ui/win32/win32_ui_host.h"

// GDI+ needs the property and stream declarations that a lean windows.h leaves out.
#include <objbase.h>
#include <objidl.h>
#include <propidl.h>
// clang-format off
#include <gdiplus.h>
// clang-format on

#include "gdi_paint_surface.h"
#include "platform/com_ptr.h"
#include "platform/paths.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"
#include "ui/bitmap_stride.h"
#include "ui/window_messages.h"

namespace ui {

Rect GdiWindowPort::GetClientRect() {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

void GdiWindowPort::Invalidate(const Rect& rect) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::InvalidateRect(hwnd_, &r, FALSE);
}

void GdiWindowPort::SetCapture() { ::SetCapture(hwnd_); }

void GdiWindowPort::ReleaseCapture() {
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
}

void GdiWindowPort::TrackMouseLeave() {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd_;
  ::TrackMouseEvent(&track);
}

std::unique_ptr<PaintSurface> GdiWindowPort::BeginPaint() {
  return std::make_unique<GdiPaintSurface>(hwnd_, fonts_);
}

void GdiWindowPort::PostInvoke() { ::PostMessageW(hwnd_, kInvokeMessage, 0, 0); }

GdiplusImageDecoder::GdiplusImageDecoder() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusImageDecoder::~GdiplusImageDecoder() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

std::shared_ptr<UiImage> GdiplusImageDecoder::Decode(const std::vector<uint8_t>& bytes) {
  if (token_ == 0 || bytes.empty()) return nullptr;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return nullptr;
  std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(::GlobalLock(memory)));
  ::GlobalUnlock(memory);
  platform::ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
    ::GlobalFree(memory);
    return nullptr;
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::GpStatus status = Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.get(), &bitmap);
  // The bitmap holds its own reference to the stream.
  stream.reset();
  if (status != Gdiplus::Ok || bitmap == nullptr) return nullptr;
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
  Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
  std::shared_ptr<UiImage> result;
  const std::optional<int> stride = BitmapStride(width, height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  platform::win32::ScopedGdiObject dib(
      stride ? ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr);
  if (dib) {
    // GDI+ writes the premultiplied pixels straight into the DIB section.
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = *stride;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = bits;
    Gdiplus::GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (Gdiplus::DllExports::GdipBitmapLockBits(
            bitmap, &area, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
            PixelFormat32bppPARGB, &data) == Gdiplus::Ok) {
      Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
      result = std::make_shared<GdiImage>(std::move(dib),
                                          Size{static_cast<int>(width), static_cast<int>(height)});
    }
  }
  Gdiplus::DllExports::GdipDisposeImage(bitmap);
  return result;
}

std::optional<std::vector<uint8_t>> Win32ResourceFiles::ReadFile(const std::u16string& path,
                                                                 uint64_t max_bytes) {
  platform::win32::ScopedKernelHandle file(
      ::CreateFileW(platform::win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::optional<std::vector<uint8_t>> result;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && static_cast<uint64_t>(size.QuadPart) <= max_bytes) {
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (bytes.empty() ||
        (::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
         read == bytes.size())) {
      result = std::move(bytes);
    }
  }
  return result;
}

std::u16string GetInstancePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return platform::FolderOf(platform::win32::FromWide(std::wstring_view(path, n)));
}

}  // namespace ui
