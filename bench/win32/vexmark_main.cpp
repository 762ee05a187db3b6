// vexmark.exe: the composition root. Creates the process-wide objects once, wires the real
// adapters into the benchmark and runs it; the exit code is the benchmark's result.
#include <windows.h>

#include "bench/core/debug_log.h"
#include "bench/core/kmd_client.h"
#include "bench/core/run_state.h"
#include "bench/core/vexmark_app.h"
#include "bench/win32/gpu_encoder_factory.h"
#include "bench/win32/win32_composition.h"
#include "bench/win32/win32_direct_draw.h"
#include "bench/win32/win32_gdi.h"
#include "bench/win32/win32_kmd.h"
#include "bench/win32/win32_windowing.h"
#include "platform/win32/win32_debug_output.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_sync.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  platform::win32::Win32DebugOutput debug_output;
  platform::win32::Win32NamedMutexes mutexes;
  platform::win32::Win32Sync sync;
  platform::win32::Win32Clock clock;
  vexmark::win32::Win32Gdi gdi;
  vexmark::win32::Win32Windowing windowing(instance);
  vexmark::win32::Win32DirectDrawFactory direct_draw;
  vexmark::win32::Win32CompositionQuery composition;
  vexmark::win32::Win32FilterDevice filter_device;
  vexmark::win32::Win32DisplayKernelThunks thunks;
  vexmark::win32::Win32UpdateEvents update_events;
  vexmark::win32::Win32AddressSpace address_space;

  vexmark::DebugLog log(debug_output);
  vexmark::RunState state;
  vexmark::KmdClient kmd(
      log, vexmark::KmdPorts{filter_device, thunks, update_events, address_space, clock});
  vexmark::KmdGpuCaptureDriver capture_driver(kmd, state.adapter);
  std::unique_ptr<vexmark::MJGPUEncoderFactory> gpu_factory =
      vexmark::win32::MakeGpuEncoderFactory(log, capture_driver, clock);

  vexmark::VexmarkApp app(
      log,
      vexmark::VexmarkPorts{debug_output, mutexes, sync, clock, gdi, windowing, direct_draw,
                            composition, kmd, *gpu_factory, GetCurrentProcessId()},
      state);
  return app.Run(command_line);
}
