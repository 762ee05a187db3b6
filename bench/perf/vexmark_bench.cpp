// Host benchmarks of the benchmark's own stages on the simulated screen: the frame copy and the
// RGB translation against memcpy, the encode-only loop against the JPEG library's own rate on
// the same frame (as packed RGB and as the screen's BGRX pixels), and the two-thread pipeline
// against one thread.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "bench/core/jpeg_compress.h"
#include "bench/core/rgb_translation.h"
#include "bench/tests/host/pixel_formats.h"
#include "bench/tests/host/vexmark_world.h"

namespace vexmark {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::vector<std::uint8_t> ScreenFrame(sim::SimScreen& screen) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(screen.width()) * screen.height() * 4);
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      std::uint32_t p = screen.DevicePixel(x, y);
      std::memcpy(&frame[(static_cast<std::size_t>(y) * screen.width() + x) * 4], &p, 4);
    }
  }
  return frame;
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> source(static_cast<std::size_t>(kWidth) * kHeight * 4, 7);
  std::vector<std::uint8_t> destination(source.size());
  for (auto _ : state) {
    std::memcpy(destination.data(), source.data(), source.size());
    benchmark::DoNotOptimize(destination.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_Memcpy);

void BM_CopyToBuffer(benchmark::State& state) {
  test::VexmarkWorld world({.width = kWidth, .height = kHeight});
  platform::sim::RecordingDebugOutput output;
  DebugLog log(output);
  vncDesktop desktop(
      log, {world.gdi, world.windowing, world.direct_draw, world.kmd, world.sync, world.clock},
      world.state, world.app);
  if (!desktop.Startup() || !desktop.DibBits()) {
    state.SkipWithError("desktop start-up");
    return;
  }
  std::vector<std::uint8_t> destination(desktop.FrameBytes());
  for (auto _ : state) {
    desktop.CopyToBuffer({0, 0, kWidth, kHeight}, destination.data(), destination.size());
    benchmark::DoNotOptimize(destination.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(destination.size()));
}
BENCHMARK(BM_CopyToBuffer);

void BM_TranslateRowToRgb32(benchmark::State& state) {
  sim::SimScreen screen(kWidth, kHeight, 32);
  std::vector<std::uint8_t> frame = ScreenFrame(screen);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  PixelFormat f = test::Format32();
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      TranslateRowToRgb(&frame[static_cast<std::size_t>(y) * kWidth * 4],
                        &rgb[static_cast<std::size_t>(y) * kWidth * 3], kWidth, f, f, true);
    }
    benchmark::DoNotOptimize(rgb.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
}
BENCHMARK(BM_TranslateRowToRgb32);

void BM_TranslateRowToRgb16(benchmark::State& state) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(kWidth) * kHeight * 2, 0x5A);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  PixelFormat f = test::Format565();
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) {
      TranslateRowToRgb(&frame[static_cast<std::size_t>(y) * kWidth * 2],
                        &rgb[static_cast<std::size_t>(y) * kWidth * 3], kWidth, f, f, false);
    }
    benchmark::DoNotOptimize(rgb.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
}
BENCHMARK(BM_TranslateRowToRgb16);

// The JPEG library alone on the frame that the encode-only run codes (the screen at set-up).
void BM_LibraryOwnEncode(benchmark::State& state) {
  sim::SimScreen screen(kWidth, kHeight, 32);
  std::vector<std::uint8_t> frame = ScreenFrame(screen);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kWidth) * kHeight; ++i) {
    rgb[i * 3] = frame[i * 4 + 2];
    rgb[i * 3 + 1] = frame[i * 4 + 1];
    rgb[i * 3 + 2] = frame[i * 4];
  }
  std::vector<std::uint8_t> jpeg(frame.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        JpegCompress(rgb.data(), kWidth, kHeight, jpeg.data(), jpeg.size(), 80));
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LibraryOwnEncode)->Unit(benchmark::kMillisecond);

// The same frame given to the library as the screen's own 32-bit pixels.
void BM_LibraryOwnEncodeBgrx(benchmark::State& state) {
  sim::SimScreen screen(kWidth, kHeight, 32);
  std::vector<std::uint8_t> frame = ScreenFrame(screen);
  std::vector<std::uint8_t> jpeg(frame.size());
  const JpegSource source{frame.data(), kWidth, kHeight, static_cast<std::size_t>(kWidth) * 4,
                          true};
  for (auto _ : state) {
    benchmark::DoNotOptimize(JpegCompress(source, jpeg.data(), jpeg.size(), 80));
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LibraryOwnEncodeBgrx)->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Whole runs of the program on the simulated world. fps: frames per second of the measured
// loop by its own clock; fps_cpu: by the processor time the run took, set-up included (which
// a shared machine's load does not distort).
void RunFrames(benchmark::State& state, const char* command_line, int width, int height) {
  for (auto _ : state) {
    test::VexmarkWorld world({.width = width, .height = height, .real_time = true});
    double cpu_start = ProcessCpuSeconds();
    int frames = world.Run(command_line);
    double cpu = ProcessCpuSeconds() - cpu_start;
    int elapsed_ms = 0;
    for (const std::string& line : world.Lines()) {
      std::sscanf(line.c_str(), "VexmarkThreadProc: Total time: %d ms.", &elapsed_ms);
      std::sscanf(line.c_str(), "FPSEncodeThreadProc: Total time: %d ms.", &elapsed_ms);
    }
    state.SetIterationTime(elapsed_ms / 1000.0);
    state.counters["fps"] = elapsed_ms ? frames * 1000.0 / elapsed_ms : 0.0;
    state.counters["fps_cpu"] = cpu > 0 ? frames / cpu : 0.0;
  }
}

void BM_EncodeOnlyLoop(benchmark::State& state) { RunFrames(state, "-e -f 300", kWidth, kHeight); }
BENCHMARK(BM_EncodeOnlyLoop)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// At 1280 x 720 the simulated blit and the encode of a frame cost about the same.
void BM_CaptureOnly720(benchmark::State& state) { RunFrames(state, "-c -f 100", 1280, 720); }
BENCHMARK(BM_CaptureOnly720)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_EncodeOnly720(benchmark::State& state) { RunFrames(state, "-e -f 100", 1280, 720); }
BENCHMARK(BM_EncodeOnly720)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_SingleThread720(benchmark::State& state) { RunFrames(state, "-f 150", 1280, 720); }
BENCHMARK(BM_SingleThread720)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_TwoThread720(benchmark::State& state) { RunFrames(state, "-n -f 150", 1280, 720); }
BENCHMARK(BM_TwoThread720)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vexmark

BENCHMARK_MAIN();
