#include "ui/sim/sim_ui_host.h"

#include <fstream>
#include <iterator>

#include "ui/bitmap_stride.h"

namespace ui::sim {

std::unique_ptr<PaintSurface> SimWindowPort::BeginPaint() {
  auto recorder = std::make_unique<PaintRecorder>(client_);
  PaintRecorder* raw = recorder.get();
  paints_.push_back(std::move(recorder));
  last_paint_ = raw;
  // The window keeps the recorder; the paint manager gets a surface that forwards to it.
  struct Forward : PaintSurface {
    explicit Forward(PaintRecorder& r) : r(r) {}
    void FillRect(const Rect& a, uint32_t b) override { r.FillRect(a, b); }
    void DrawBorder(const Rect& a, uint32_t b, int c) override { r.DrawBorder(a, b, c); }
    void DrawImage(const UiImage& a, const Rect& b) override { r.DrawImage(a, b); }
    void DrawText(const std::u16string& a, const Rect& b, uint32_t c, const FontSpec& d,
                  TextAlign e) override {
      r.DrawText(a, b, c, d, e);
    }
    void PushClip(const Rect& a) override { r.PushClip(a); }
    void PopClip() override { r.PopClip(); }
    PaintRecorder& r;
  };
  return std::make_unique<Forward>(*raw);
}

std::shared_ptr<UiImage> PngHeaderDecoder::Decode(const std::vector<uint8_t>& bytes) {
  static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (bytes.size() < 24 ||
      !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
    return nullptr;
  }
  auto be32 = [&](size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
  };
  const uint32_t width = be32(16);
  const uint32_t height = be32(20);
  // As the Windows decoder: no image whose bitmap rows would not fit the drawing calls.
  if (!BitmapStride(width, height)) return nullptr;
  return std::make_shared<SizedImage>(Size{static_cast<int>(width), static_cast<int>(height)});
}

std::optional<std::vector<uint8_t>> MemoryResourceFiles::ReadFile(const std::u16string& path,
                                                                  uint64_t max_bytes) {
  auto it = files_.find(path);
  if (it == files_.end() || it->second.size() > max_bytes) return std::nullopt;
  return it->second;
}

std::optional<std::vector<uint8_t>> HostResourceFiles::ReadFile(const std::u16string& path,
                                                                uint64_t max_bytes) {
  std::string narrow;
  for (char16_t c : path) {
    if (c > 0x7F) return std::nullopt;
    narrow += static_cast<char>(c);
  }
  std::ifstream in(narrow, std::ios::binary | std::ios::ate);
  if (!in || static_cast<uint64_t>(in.tellg()) > max_bytes) return std::nullopt;
  in.seekg(0);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

}  // namespace ui::sim
