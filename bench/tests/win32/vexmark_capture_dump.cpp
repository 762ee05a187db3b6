// Test program: one frame through vexmark's own desktop and encoder objects on the real
// adapters, written out as capture.ppm (the frame translated to RGB, as the encoder sees it) and
// frame.jpg (the encoder's JPEG), so a test can hold them against a grab of the X screen.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/core/kmd_client.h"
#include "bench/core/rgb_translation.h"
#include "bench/core/run_state.h"
#include "bench/core/vnc_desktop.h"
#include "bench/core/vnc_encoder.h"
#include "bench/win32/gpu_encoder_factory.h"
#include "bench/win32/win32_direct_draw.h"
#include "bench/win32/win32_gdi.h"
#include "bench/win32/win32_kmd.h"
#include "bench/win32/win32_windowing.h"
#include "platform/win32/win32_debug_output.h"
#include "platform/win32/win32_sync.h"

namespace {

class NoMessages : public vexmark::WindowProcedure {
 public:
  bool OnMessage(const vexmark::WindowMessage&) override { return false; }
};

bool WriteFile(const std::string& path, const void* data, std::size_t size,
               const std::string& header = "") {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
            std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vexmark_capture_dump OUTPUT_FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  platform::win32::Win32DebugOutput debug_output;
  platform::win32::Win32Sync sync;
  platform::win32::Win32Clock clock;
  vexmark::win32::Win32Gdi gdi;
  vexmark::win32::Win32Windowing windowing(GetModuleHandleA(nullptr));
  vexmark::win32::Win32DirectDrawFactory direct_draw;
  vexmark::win32::Win32FilterDevice filter_device;
  vexmark::win32::Win32DisplayKernelThunks thunks;
  vexmark::win32::Win32UpdateEvents update_events;
  vexmark::win32::Win32AddressSpace address_space;
  vexmark::DebugLog log(debug_output);
  vexmark::RunState state;
  vexmark::KmdClient kmd(log, {filter_device, thunks, update_events, address_space, clock});
  vexmark::KmdGpuCaptureDriver capture_driver(kmd, state.adapter);
  auto gpu_factory = vexmark::win32::MakeGpuEncoderFactory(log, capture_driver, clock);
  NoMessages procedure;

  vexmark::vncDesktop desktop(log, {gdi, windowing, direct_draw, kmd, sync, clock}, state,
                              procedure);
  if (!desktop.Startup()) return 3;
  vexmark::ScreenInfo info = desktop.GetScreenInfo();
  int width = info.framebufferWidth;
  int height = info.framebufferHeight;
  std::vector<std::uint8_t> frame(desktop.FrameBytes());
  desktop.CaptureScreenFromAdapterGeneral({0, 0, width, height}, frame.data(), frame.size());

  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  bool fast = vexmark::IsFastTranslateFormat(info.format);
  const std::uint32_t* palette = desktop.FrameFormat().colours;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = frame.data() + static_cast<std::size_t>(y) * desktop.BytesPerRow();
    std::uint8_t* out = rgb.data() + static_cast<std::size_t>(y) * width * 3;
    if (info.format.bitsPerPixel != 8) {
      vexmark::TranslateRowToRgb(row, out, width, info.format, info.format, fast);
      continue;
    }
    // Palette indices, looked up in the colour table the frame came with (blue, green, red).
    for (int x = 0; x < width; ++x) {
      std::uint32_t entry = palette[row[x]];
      out[x * 3] = static_cast<std::uint8_t>(entry >> 16);
      out[x * 3 + 1] = static_cast<std::uint8_t>(entry >> 8);
      out[x * 3 + 2] = static_cast<std::uint8_t>(entry);
    }
  }
  std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  if (!WriteFile(folder + "\\capture.ppm", rgb.data(), rgb.size(), header)) return 4;

  vexmark::vncEncoder encoder(log, {gdi, kmd, *gpu_factory, GetCurrentProcessId()}, state);
  encoder.Init(false);
  encoder.SetLocalFormat(info.format, width, height);
  std::vector<std::uint8_t> jpeg(frame.size());
  std::uint32_t size = encoder.Encode(frame, jpeg, {0, 0, width, height});
  if (size == 0 || !WriteFile(folder + "\\frame.jpg", jpeg.data(), size)) return 5;
  std::printf("%dx%dx%d\n", width, height, info.format.bitsPerPixel);
  return 0;
}
