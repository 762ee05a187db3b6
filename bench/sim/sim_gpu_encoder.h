// A stand-in for the graphics card behind the GPU encoder: keeps the uploaded frame, codes it
// with the CPU JPEG library when asked, records which operations ran, and fails on request.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/core/mj_gpu_encoder.h"

namespace vexmark::sim {

struct SimGpuEncoderLog {
  std::vector<std::string> calls;  // "CreateContext 1920x1080 q80", "SetQuality 50", ...
  int encoders_made = 0;
  int gpu_captures = 0;
};

struct SimGpuEncoderFaults {
  bool refuse_creation = false;  // the factory returns nullptr
  bool fail_context = false;
  bool fail_upload = false;
  int encoding_fps = 60;  // what GetEncodingFPS reports for a non-zero mode
};

class SimGpuEncoder : public MJGPUEncoder {
 public:
  SimGpuEncoder(SimGpuEncoderLog& log, const SimGpuEncoderFaults& faults, GpuCaptureDriver* driver)
      : log_(log), faults_(faults), driver_(driver) {}

  bool CreateContext(int width, int height, int quality) override;
  bool ReadSourceFromMemory(std::span<const std::uint8_t> rgba) override;
  bool ReadSourceFromRows(const RgbaRowWriter& write_row) override;
  int CaptureOnGpu() override;
  bool SetQuality(int quality) override;
  void RunGpuPasses() override;
  bool CPUEncodeVLE_IJL(std::span<std::uint8_t> destination, std::uint32_t& size) override;
  int GetEncodingFPS(int count, int mode, std::span<std::uint8_t> destination) override;
  void ReleaseResources() override;
  bool SourceReady() const override { return source_ready_; }
  void ClearSourceReady() override { source_ready_ = false; }

  int quality() const { return quality_; }

 private:
  SimGpuEncoderLog& log_;
  const SimGpuEncoderFaults& faults_;
  GpuCaptureDriver* driver_;
  int width_ = 0;
  int height_ = 0;
  int quality_ = 0;
  bool has_context_ = false;
  bool source_ready_ = false;
  std::vector<std::uint8_t> source_rgba_;
};

class SimGpuEncoderFactory : public MJGPUEncoderFactory {
 public:
  explicit SimGpuEncoderFactory(GpuCaptureDriver* driver = nullptr) : driver_(driver) {}
  std::unique_ptr<MJGPUEncoder> Create() override;

  SimGpuEncoderLog log;
  SimGpuEncoderFaults faults;

 private:
  GpuCaptureDriver* driver_;
};

}  // namespace vexmark::sim
