// The benchmark driver: entry and single-instance guard, the choice of capture path, set-up
// and tear-down of the desktop and encoder objects, the GPU benchmark mode, the message loop
// and the sink window's procedure with the display-change restart.
#pragma once
#include <memory>

#include "bench/core/composition.h"
#include "bench/core/debug_log.h"
#include "bench/core/direct_draw.h"
#include "bench/core/gdi.h"
#include "bench/core/kmd_client.h"
#include "bench/core/mj_gpu_encoder.h"
#include "bench/core/run_state.h"
#include "bench/core/test_loops.h"
#include "bench/core/vnc_desktop.h"
#include "bench/core/vnc_encoder.h"
#include "bench/core/windowing.h"
#include "platform/named_mutex.h"
#include "platform/sync.h"

namespace vexmark {

inline constexpr char kVexmarkMutexName[] = "VQ-VEXMARK-5f23f187-c01d-4720-81b3-c88bc948634f";
// PCI vendor prefixes of the display adapters the WDDM 1.0 opening names.
inline constexpr char kKelvVendorPrefix[] = "PCI\\VEN_4B45";
inline constexpr char kOrsaVendorPrefix[] = "PCI\\VEN_4F52";
inline constexpr char kAtiVendorPrefix[] = "PCI\\VEN_1002";
inline constexpr std::uint32_t kRestartPauseMs = 1500;

struct VexmarkPorts {
  platform::DebugOutput& debug_output;
  platform::NamedMutexes& mutexes;
  platform::Sync& sync;
  platform::Clock& clock;
  Gdi& gdi;
  Windowing& windowing;
  DirectDrawFactory& direct_draw;
  CompositionQuery& composition;
  KmdClient& kmd;
  MJGPUEncoderFactory& gpu_factory;
  std::uint32_t process_id;
};

class VexmarkApp : public WindowProcedure {
 public:
  VexmarkApp(DebugLog& log, const VexmarkPorts& ports, RunState& state);
  ~VexmarkApp() override;

  // The program: returns the exit code (frames processed, or frames per second in GPU
  // benchmark mode; 0 for a second instance).
  int Run(const char* command_line);

  // DesktopWndProc.
  bool OnMessage(const WindowMessage& message) override;

 private:
  void JudgeCapturePath();
  bool OpenWddm10Adapter();
  bool InitDesktopAndEncoder();
  bool AllocateBuffer(FrameBuffer& buffer, const char* name);
  void RunGpuBenchmark();
  void RunMessageLoop();
  void TearDown();
  void RestartAfterDisplayChange();

  DebugLog& log_;
  VexmarkPorts ports_;
  RunState& state_;
  TestThreads tests_;
  std::unique_ptr<vncDesktop> desktop_;
  std::unique_ptr<vncEncoder> encoder_;
};

}  // namespace vexmark
