#include "bench/sim/sim_gpu_encoder.h"

#include <cstring>

#include "bench/core/jpeg_compress.h"

namespace vexmark::sim {

bool SimGpuEncoder::CreateContext(int width, int height, int quality) {
  log_.calls.push_back("CreateContext " + std::to_string(width) + "x" + std::to_string(height) +
                       " q" + std::to_string(quality));
  if (width % 8 != 0 || height % 8 != 0 || faults_.fail_context) return false;
  width_ = width;
  height_ = height;
  quality_ = quality;
  has_context_ = true;
  source_ready_ = false;
  return true;
}

bool SimGpuEncoder::ReadSourceFromMemory(std::span<const std::uint8_t> rgba) {
  const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
  if (rgba.size() < row_bytes * height_) {
    log_.calls.push_back("ReadSourceFromMemory");
    return false;
  }
  return ReadSourceFromRows([&](int row, std::uint8_t* texels) {
    std::memcpy(texels, rgba.data() + row * row_bytes, row_bytes);
  });
}

bool SimGpuEncoder::ReadSourceFromRows(const RgbaRowWriter& write_row) {
  log_.calls.push_back("ReadSourceFromMemory");
  if (!has_context_ || faults_.fail_upload) return false;
  const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
  source_rgba_.resize(row_bytes * height_);
  for (int row = 0; row < height_; ++row) write_row(row, source_rgba_.data() + row * row_bytes);
  return true;
}

int SimGpuEncoder::CaptureOnGpu() {
  log_.calls.push_back("CaptureOnGpu");
  if (driver_) driver_->SetRenderState(1, 0);
  if (driver_) driver_->SetRenderState(0, 0);
  ++log_.gpu_captures;
  source_ready_ = true;
  return 1;
}

bool SimGpuEncoder::SetQuality(int quality) {
  if (quality == quality_) return true;
  log_.calls.push_back("SetQuality " + std::to_string(quality));
  quality_ = quality;
  return true;
}

void SimGpuEncoder::RunGpuPasses() { log_.calls.push_back("RunGpuPasses"); }

bool SimGpuEncoder::CPUEncodeVLE_IJL(std::span<std::uint8_t> destination, std::uint32_t& size) {
  log_.calls.push_back("CPUEncodeVLE_IJL");
  size = 0;
  if (!has_context_) return false;
  // The card is not modelled; the kept frame (black after a GPU capture) is coded on the CPU.
  std::size_t pixels = static_cast<std::size_t>(width_) * height_;
  std::vector<std::uint8_t> rgb(pixels * 3);
  for (std::size_t i = 0; i < pixels && i * 4 + 3 < source_rgba_.size(); ++i) {
    std::memcpy(&rgb[i * 3], &source_rgba_[i * 4], 3);
  }
  int n =
      JpegCompress(rgb.data(), width_, height_, destination.data(), destination.size(), quality_);
  size = static_cast<std::uint32_t>(n);
  return n > 0;
}

int SimGpuEncoder::GetEncodingFPS(int count, int mode, std::span<std::uint8_t> destination) {
  log_.calls.push_back("GetEncodingFPS " + std::to_string(count) + " " + std::to_string(mode));
  if (mode == 0) return 0;
  for (int i = 0; i < count; ++i) {
    if (mode & kGpuStageCapture) CaptureOnGpu();
    if (mode & kGpuStagePasses) RunGpuPasses();
    std::uint32_t size = 0;
    if (mode & kGpuStageEntropyCoding) CPUEncodeVLE_IJL(destination, size);
  }
  return faults_.encoding_fps;
}

void SimGpuEncoder::ReleaseResources() {
  log_.calls.push_back("ReleaseResources");
  has_context_ = false;
  source_rgba_.clear();
}

std::unique_ptr<MJGPUEncoder> SimGpuEncoderFactory::Create() {
  if (faults.refuse_creation) return nullptr;
  ++log.encoders_made;
  return std::make_unique<SimGpuEncoder>(log, faults, driver_);
}

}  // namespace vexmark::sim
