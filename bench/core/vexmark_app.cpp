#include "bench/core/vexmark_app.h"

#include <new>

#include "bench/core/command_line.h"
#include "bench/core/keep_forever.h"

namespace vexmark {

VexmarkApp::VexmarkApp(DebugLog& log, const VexmarkPorts& ports, RunState& state)
    : log_(log),
      ports_(ports),
      state_(state),
      tests_(log, TestLoopPorts{ports.sync, ports.clock, ports.windowing}, state) {
  ports_.kmd.set_stop_request(&tests_.StopRequested());
}

VexmarkApp::~VexmarkApp() { ports_.kmd.set_stop_request(nullptr); }

int VexmarkApp::Run(const char* command_line) {
  log_("Vexmark program v1.07.\n");
  platform::NamedMutexResult mutex = ports_.mutexes.Create(kVexmarkMutexName);
  if (mutex.kind == platform::NamedMutexResult::Kind::kAlreadyExisted) {
    log_("Another instance is already running!\n");
    return 0;
  }
  vProcessCMDLine(command_line, state_.options, log_);
  if (state_.options.bJudgeKMDRender) JudgeCapturePath();
  if ((!state_.options.bUseKMDRenderWDDM1_0 || OpenWddm10Adapter()) && InitDesktopAndEncoder()) {
    if (state_.options.bGPUBench) {
      RunGpuBenchmark();
    } else {
      bool multi = state_.options.bMultiThread != 0;
      tests_.StartTestThreads(multi);
      RunMessageLoop();
      tests_.StopTestThreads(multi);
    }
  }
  TearDown();
  return state_.iVexmark10s;
}

void VexmarkApp::JudgeCapturePath() {
  log_("Judge kernal-mode display filter driver version info...\n");
  log_("Open the KMDFLTR device...\n");
  KmdClient& kmd = ports_.kmd;
  std::uint32_t error = kmd.OpenDevice();
  if (error != 0) {
    log_("Open the KMDFLTR device failed! %d\n", static_cast<int>(error));
  } else {
    log_("Query KMDFLTR driver info...\n");
    KmdVersionInfo info{};
    if (!kmd.QueryVersionInfo(info)) {
      log_("Query KMDFLTR driver info failed!\n");
    } else if (info.wddm1_0 != 0) {
      log_("Use WDDM 1.0 kernal-mode rendering.\n");
      state_.options.bUseKMDRenderWDDM1_0 = 1;
    } else if (info.wddm1_1 != 0) {
      log_("Use WDDM 1.1 kernal-mode rendering.\n");
      state_.options.bUseKMDRenderWDDM1_1 = 1;
    } else {
      log_("Use GDI.\n");
    }
  }
  log_("Close the KMDFLTR device...\n");
  kmd.CloseDevice();
}

bool VexmarkApp::OpenWddm10Adapter() {
  log_("Init WDDM 1.0 kernal-mode rendering...\n");
  Gdi& gdi = ports_.gdi;
  DisplayDevice last;
  std::string primary_name;
  bool found = false;
  DisplayDevice device;
  for (std::uint32_t index = 0; gdi.EnumDisplayDevice(index, device); ++index) {
    last = device;
    std::uint32_t wanted = kDisplayAttachedToDesktop | kDisplayPrimaryDevice;
    if ((device.state_flags & wanted) == wanted) {
      primary_name = device.name.substr(0, 260);
      found = true;
      break;
    }
  }
  if (last.device_id.find(kKelvVendorPrefix) != std::string::npos) {
    log_("Primary display driver is Kelv.\n");
  } else if (last.device_id.find(kOrsaVendorPrefix) != std::string::npos) {
    log_("Primary display driver is Orsa.\n");
  } else if (last.device_id.find(kAtiVendorPrefix) != std::string::npos) {
    log_("Primary display driver is ATI.\n");
  } else {
    log_("Primary display driver is OTHER.\n");
  }
  if (!found) {
    log_("Can not find primary display driver!\n");
    return false;
  }
  DcHandle dc = gdi.CreateDisplayDC(primary_name);
  if (dc == 0) {
    log_("Primary display driver DC creation failed!\n");
    return false;
  }
  state_.adapter = ports_.kmd.KmdOpenAdapter(dc);
  gdi.DeleteDC(dc);
  if (state_.adapter == 0) {
    log_("KmdOpenAdapter failed!\n");
    return false;
  }
  return true;
}

bool VexmarkApp::AllocateBuffer(FrameBuffer& buffer, const char* name) {
  int size = static_cast<int>(state_.frameSize);
  log_("Allocate %s buffer: %d bytes...\n", name, size);
  buffer.data.reset();
  buffer.size = 0;
  buffer.data.reset(new (std::nothrow) std::uint8_t[state_.frameSize]);
  if (!buffer.data) {
    log_("Allocate %s buffer: %d bytes failed!\n", name, size);
    return false;
  }
  buffer.size = state_.frameSize;
  return true;
}

bool VexmarkApp::InitDesktopAndEncoder() {
  log_("Init Deskop...\n");
  if (!desktop_) {
    desktop_ =
        std::make_unique<vncDesktop>(log_,
                                     DesktopPorts{ports_.gdi, ports_.windowing, ports_.direct_draw,
                                                  ports_.kmd, ports_.sync, ports_.clock},
                                     state_, *this);
  }
  tests_.SetObjects(desktop_.get(), encoder_.get());
  if (!desktop_->Startup()) {
    log_("Deskop Startup failed!\n");
    return false;
  }
  ScreenInfo info = desktop_->GetScreenInfo();
  log_("Screen Info: %dx%dx%dbpp.\n", info.framebufferWidth, info.framebufferHeight,
       info.format.bitsPerPixel);
  log_("Aero Glass enabled: %s.\n",
       ports_.composition.DwmIsCompositionEnabled() ? "TRUE" : "FALSE");

  log_("Init Encoder...\n");
  if (!encoder_) {
    encoder_ = std::make_unique<vncEncoder>(
        log_, EncoderPorts{ports_.gdi, ports_.kmd, ports_.gpu_factory, ports_.process_id}, state_);
  }
  tests_.SetObjects(desktop_.get(), encoder_.get());
  encoder_->Init(state_.options.bUseGPUEncoder != 0);
  encoder_->SetLocalFormat(info.format, info.framebufferWidth, info.framebufferHeight);

  state_.captureRect = Rect{0, 0, info.framebufferWidth, info.framebufferHeight};
  // Padded rows, as GDI writes them; the desktop refuses frames that do not fit 31 bits.
  state_.frameSize = static_cast<std::uint32_t>(desktop_->FrameBytes());
  if (!AllocateBuffer(state_.screenBuffer, "screen")) return false;
  if (!AllocateBuffer(state_.encodeBuffer, "encode")) return false;

  std::uint8_t* source = desktop_->DibBits() ? desktop_->DibBits() : state_.screenBuffer.get();
  std::size_t source_size = desktop_->DibBits() ? desktop_->FrameBytes() : state_.screenBuffer.size;
  MJGPUEncoder* gpu = encoder_->GpuEncoder();
  if (state_.g_bUseGPUEncoderCapture && gpu) {
    gpu->CaptureOnGpu();
  } else {
    desktop_->CaptureScreenFromAdapterGeneral(state_.captureRect, source, source_size);
  }
  if (gpu && !encoder_->PrepareSourceForGPU({source, source_size}, state_.captureRect)) {
    log_("m_pGPUEncoder->PrepareSourceForGPU failed!\n");
    return false;
  }
  return true;
}

void VexmarkApp::RunGpuBenchmark() {
  int fps = 0;
  MJGPUEncoder* gpu = encoder_ ? encoder_->GpuEncoder() : nullptr;
  if (gpu) {
    std::span<std::uint8_t> destination(state_.encodeBuffer.get(), state_.encodeBuffer.size);
    log_("Test GPU benchmark type %d...\n", state_.options.benchType);
    log_("g_bUseGPUEncoderCapture: %d\n", state_.g_bUseGPUEncoderCapture);
    switch (state_.options.benchType) {
      case 0:
        log_("Test GPU_DCT FPS...\n");
        fps = gpu->GetEncodingFPS(30, kGpuStagePasses, destination);
        break;
      case 1:
        log_("Test GPU_DCT+CPU_VLE FPS...\n");
        fps = gpu->GetEncodingFPS(30, kGpuStagePasses | kGpuStageEntropyCoding, destination);
        break;
      case 2:
        if (state_.g_bUseGPUEncoderCapture) {
          log_("Test GPU_DCT+CPU_VLE+GPU_CAP FPS...\n");
          fps = gpu->GetEncodingFPS(30, kGpuStagePasses | kGpuStageEntropyCoding | kGpuStageCapture,
                                    destination);
        }
        break;
      default:
        log_("Unsupported Benchmark type %d!\n", state_.options.benchType);
        break;
    }
  }
  log_("GPU Benchmark FPS = %d\n", fps);
  state_.iVexmark10s = fps;
}

void VexmarkApp::RunMessageLoop() {
  Windowing& w = ports_.windowing;
  WindowMessage message;
  for (;;) {
    int result = w.NextMessage(message);
    if (result == 0) break;
    if (result == -1) {
      log_("GetMessage() returns -1! error:%d\n", static_cast<int>(w.LastError()));
      break;
    }
    w.Dispatch(message);
  }
}

void VexmarkApp::TearDown() {
  if (tests_.ThreadLeftRunning()) {
    // A test thread still uses the buffers and objects; the process ends with it.
    KeepForever(std::move(desktop_));
    KeepForever(std::move(encoder_));
    KeepForever(std::move(state_.screenBuffer.data));
    KeepForever(std::move(state_.encodeBuffer.data));
  }
  log_("Free buffers...\n");
  state_.screenBuffer = FrameBuffer{};
  state_.encodeBuffer = FrameBuffer{};
  tests_.SetObjects(nullptr, nullptr);
  if (encoder_) {
    log_("Delete Encoder...\n");
    encoder_.reset();
  }
  if (desktop_) {
    log_("Delete Desktop...\n");
    desktop_->Shutdown();
    desktop_.reset();
  }
  if (state_.adapter != 0) {
    log_("Close KMD adapter...\n");
    ports_.kmd.KmdCloseAdapter(state_.adapter);
    state_.adapter = 0;
  }
  log_("return iVexmark10s: %d.\n", static_cast<int>(state_.iVexmark10s));
}

bool VexmarkApp::OnMessage(const WindowMessage& message) {
  switch (message.message) {
    case kWmTimer:
      if (message.wparam == TIMER_FPS_EXIT) {
        log_("DesktopWndProc: got TIMER_FPS_EXIT msg.\n");
        ports_.windowing.PostQuitMessage(0);
      }
      return true;
    case kWmDisplayChange:
    case kWmDwmCompositionChanged:
      log_(message.message == kWmDisplayChange
               ? "DesktopWndProc: got WM_DISPLAYCHANGE msg.\n"
               : "DesktopWndProc: got WM_DWMCOMPOSITIONCHANGED msg.\n");
      if (desktop_) desktop_->SetDisplayChanged(true);
      if (!tests_.HasTestThread(state_.options.bMultiThread != 0)) return true;
      RestartAfterDisplayChange();
      return true;
    default:
      return false;
  }
}

void VexmarkApp::RestartAfterDisplayChange() {
  bool multi = state_.options.bMultiThread != 0;
  log_("DesktopWndProc: re-init Desktop & Encoder objects...\n");
  if (!tests_.StopTestThreads(multi)) {
    ports_.windowing.PostQuitMessage(0);
    return;
  }
  desktop_->Shutdown();
  desktop_->SetDisplayChanged(false);
  state_.iVexmark10s = 0;
  state_.totalCapturedBytes = 0;
  state_.totalEncodedBytes = 0;
  ports_.clock.Sleep(kRestartPauseMs);
  if (!InitDesktopAndEncoder()) {
    log_("DesktopWndProc: re-init Desktop & Encoder objects failed!\n");
    ports_.windowing.PostQuitMessage(0);
    return;
  }
  tests_.StartTestThreads(multi);
}

}  // namespace vexmark
