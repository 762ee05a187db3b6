// What the toolkit needs of the outside world: its window, image decoding and file reading.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"
#include "ui/paint_surface.h"

namespace ui {

class UiWindowPort {
 public:
  virtual ~UiWindowPort() = default;
  virtual Rect GetClientRect() = 0;
  virtual void Invalidate(const Rect& rect) = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  // Asks for kWmMouseLeave when the pointer next leaves the window.
  virtual void TrackMouseLeave() = 0;
  // A surface for the area being painted; drawing reaches the screen when it is destroyed
  // (double buffering).
  virtual std::unique_ptr<PaintSurface> BeginPaint() = 0;
  // Asks the window's thread to call CPaintManagerUI::MessageHandler with kInvokeMessage soon.
  // Called from any thread.
  virtual void PostInvoke() = 0;
};

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // nullptr when the bytes are not an image this decoder reads.
  virtual std::shared_ptr<UiImage> Decode(const std::vector<uint8_t>& bytes) = 0;
};

class ResourceFiles {
 public:
  virtual ~ResourceFiles() = default;
  // The whole file, or nullopt when it cannot be read or holds more than max_bytes.
  virtual std::optional<std::vector<uint8_t>> ReadFile(const std::u16string& path,
                                                       uint64_t max_bytes) = 0;
};

}  // namespace ui
