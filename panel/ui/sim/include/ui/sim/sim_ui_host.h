// The host side of a skinned window for tests: a window port with a client rectangle that
// paints into a recorder, PNG images known by their header size, and skin files from memory
// or disk.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/sim/paint_recorder.h"
#include "ui/ui_ports.h"

namespace ui::sim {

class SimWindowPort : public UiWindowPort {
 public:
  explicit SimWindowPort(Rect client) : client_(client) {}
  void SetClientRect(Rect client) { client_ = client; }

  Rect GetClientRect() override { return client_; }
  void Invalidate(const Rect&) override {}
  void SetCapture() override { captured_ = true; }
  void ReleaseCapture() override { captured_ = false; }
  void TrackMouseLeave() override { tracking_leave_ = true; }
  // Each paint goes into a fresh recorder; the last one stays readable.
  std::unique_ptr<PaintSurface> BeginPaint() override;
  void PostInvoke() override { ++posted_invokes_; }

  const PaintRecorder* LastPaint() const { return last_paint_; }
  bool IsCaptured() const { return captured_; }
  bool IsTrackingMouseLeave() const { return tracking_leave_; }
  int PostedInvokes() const { return posted_invokes_; }

 private:
  Rect client_;
  bool captured_ = false;
  bool tracking_leave_ = false;
  std::atomic<int> posted_invokes_ = 0;  // PostInvoke comes from any thread
  const PaintRecorder* last_paint_ = nullptr;
  std::vector<std::unique_ptr<PaintRecorder>> paints_;
};

class SizedImage : public UiImage {
 public:
  explicit SizedImage(Size size) : size_(size) {}
  Size GetSize() const override { return size_; }

 private:
  Size size_;
};

// Reads a PNG's size from its header; no pixels.
class PngHeaderDecoder : public ImageDecoder {
 public:
  std::shared_ptr<UiImage> Decode(const std::vector<uint8_t>& bytes) override;
};

class MemoryResourceFiles : public ResourceFiles {
 public:
  void Put(std::u16string path, std::vector<uint8_t> bytes) { files_[path] = std::move(bytes); }
  std::optional<std::vector<uint8_t>> ReadFile(const std::u16string& path,
                                               uint64_t max_bytes) override;

 private:
  std::map<std::u16string, std::vector<uint8_t>> files_;
};

// Paths are UTF-16 text of a host path.
class HostResourceFiles : public ResourceFiles {
 public:
  std::optional<std::vector<uint8_t>> ReadFile(const std::u16string& path,
                                               uint64_t max_bytes) override;
};

}  // namespace ui::sim
