#include "bench/core/test_loops.h"

#include "bench/core/keep_forever.h"

namespace vexmark {

namespace {

constexpr std::uint32_t kTimerSlackMs = 10;

bool Signalled(platform::Sync& sync, platform::Event* event, std::uint32_t timeout_ms) {
  platform::Event* events[] = {event};
  return sync.WaitAny(events, timeout_ms).kind == platform::WaitResult::Kind::kSignalled;
}

}  // namespace

std::span<std::uint8_t> TestThreads::Source() {
  if (desktop_ && desktop_->DibBits()) return {desktop_->DibBits(), desktop_->FrameBytes()};
  return {state_.screenBuffer.get(), state_.screenBuffer.size};
}

std::span<std::uint8_t> TestThreads::EncodeBuffer() {
  return {state_.encodeBuffer.get(), state_.encodeBuffer.size};
}

bool TestThreads::FrameLimitReached() const {
  return state_.options.bTestFreq && state_.iVexmark10s.load() >= state_.options.times;
}

void TestThreads::SetExitTimer() {
  if (!state_.options.bTestTime || !desktop_) return;
  std::uint32_t interval = static_cast<std::uint32_t>(state_.options.secs) * 1000 + kTimerSlackMs;
  timer_id_ = ports_.windowing.SetTimer(desktop_->Window(), TIMER_FPS_EXIT, interval);
}

void TestThreads::PostExitTimer() {
  if (desktop_)
    ports_.windowing.PostWindowMessage({desktop_->Window(), kWmTimer, TIMER_FPS_EXIT, 0});
}

void TestThreads::LogReport(const char* thread, std::uint64_t captured, std::uint64_t encoded) {
  std::uint64_t captured_kb = captured >> 10;
  std::uint64_t encoded_kb = encoded >> 10;
  // Nothing captured leaves no rate to divide out.
  double rate =
      captured_kb ? static_cast<double>(encoded_kb) / static_cast<double>(captured_kb) : 0.0;
  log_("%s: Total capture %u k bytes, compression rate: (%u kB/%u kB)=%.2f\n", thread,
       static_cast<unsigned>(captured_kb), static_cast<unsigned>(encoded_kb),
       static_cast<unsigned>(captured_kb), rate);
}

TestThreads::TestThread TestThreads::Start(std::function<void()> body) {
  TestThread t;
  t.done = ports_.sync.CreateEvent(true, false);
  platform::Event* done = t.done.get();
  t.thread = ports_.sync.StartThread(
      [body = std::move(body), done] {
        body();
        done->Set();
      },
      platform::ThreadPriority::kAboveNormal);
  return t;
}

bool TestThreads::Join(TestThread& t, const char* name) {
  platform::Event* done[] = {t.done.get()};
  if (ports_.sync.WaitAny(done, ports_.stop_limit_ms).kind ==
      platform::WaitResult::Kind::kSignalled) {
    t.thread->Join();
    t = TestThread{};
    return true;
  }
  log_("%s: did not stop within %d ms, left running.\n", name,
       static_cast<int>(ports_.stop_limit_ms));
  // Joining or destroying a thread that may still run would hang or pull its objects away;
  // the process ends with it.
  left_running_ = true;
  KeepForever(std::move(t.thread));
  KeepForever(std::move(t.done));
  return false;
}

void TestThreads::StartTestThreads(bool multi_thread) {
  StopTestThreads(multi_thread);
  if (left_running_) return;
  if (!multi_thread) {
    g_hVexmarkThreadExitEvent = ports_.sync.CreateEvent(false, false);
    vexmark_thread_ = Start([this] { VexmarkThreadProc(); });
    SetExitTimer();
    return;
  }
  g_hFPSCaptureThreadExitEvent = ports_.sync.CreateEvent(false, false);
  g_hFPSEncodeThreadExitEvent = ports_.sync.CreateEvent(false, false);
  encode_resume_ = ports_.sync.CreateEvent(true, false);
  capture_thread_ = Start([this] { FPSCaptureThreadProc(); });
  encode_thread_ = Start([this] {
    platform::Event* gate[] = {encode_resume_.get()};
    ports_.sync.WaitAny(gate, platform::kWaitInfinite);
    FPSEncodeThreadProc();
  });
}

bool TestThreads::StopTestThreads(bool multi_thread) {
  if (left_running_) return false;
  stop_requested_ = true;
  bool stopped = true;
  if (!multi_thread) {
    if (vexmark_thread_.thread) {
      g_hVexmarkThreadExitEvent->Set();
      stopped = Join(vexmark_thread_, "VexmarkThreadProc");
    }
  } else {
    if (capture_thread_.thread) {
      g_hFPSCaptureThreadExitEvent->Set();
      stopped = Join(capture_thread_, "FPSCaptureThreadProc");
    }
    if (stopped && encode_thread_.thread) {
      g_hFPSEncodeThreadExitEvent->Set();
      // A run stopped before the ring filled lets the waiting encode thread go, so that it sees
      // its exit event at once.
      encode_resume_->Set();
      stopped = Join(encode_thread_, "FPSEncodeThreadProc");
    }
  }
  if (!stopped) {
    // The thread left running still waits on these events.
    KeepForever(std::move(g_hVexmarkThreadExitEvent));
    KeepForever(std::move(g_hFPSCaptureThreadExitEvent));
    KeepForever(std::move(g_hFPSEncodeThreadExitEvent));
    KeepForever(std::move(encode_resume_));
    KeepForever(std::move(encode_thread_.thread));
    KeepForever(std::move(encode_thread_.done));
    return false;
  }
  if (!multi_thread) {
    g_hVexmarkThreadExitEvent.reset();
  } else {
    g_hFPSCaptureThreadExitEvent.reset();
    g_hFPSEncodeThreadExitEvent.reset();
    encode_resume_.reset();
  }
  stop_requested_ = false;
  // Only now: until the capture thread is gone it may still set the timer at its 31st frame.
  std::uint64_t timer = timer_id_.exchange(0);
  if (timer != 0 && desktop_) ports_.windowing.KillTimer(desktop_->Window(), TIMER_FPS_EXIT);
  return true;
}

void TestThreads::QuitIfNoTimerDue() {
  if (!state_.options.bTestTime || timer_id_ == 0) PostExitTimer();
}

std::uint32_t TestThreads::VexmarkFrame(const Rect& rect, std::uint32_t& captured_size) {
  captured_size = 0;
  if (!desktop_ || !encoder_) {
    log_("Vexmark: Destop or Encoder not initialized!\n");
    return 0;
  }
  const VexmarkOptions& o = state_.options;
  std::span<std::uint8_t> source = Source();
  MJGPUEncoder* gpu = encoder_->GpuEncoder();
  if (o.bMeasureCETime) stopwatch_.Reset();
  if (!o.bEncodeOnly) {
    captured_size = state_.frameSize;
    if (state_.g_bUseGPUEncoderCapture && gpu) {
      gpu->CaptureOnGpu();
    } else {
      desktop_->CaptureScreenFromAdapterGeneral(rect, source.data(), source.size());
    }
    if (o.bMeasureCETime) {
      log_("Vexmark: Capture screen: %d ms\n", static_cast<int>(stopwatch_.Lap()));
      stopwatch_.Reset();
    }
    if (gpu && !encoder_->PrepareSourceForGPU(source, rect)) {
      log_("m_pGPUEncoder->PrepareSourceForGPU failed!\n");
      return 0;
    }
  }
  if (o.bCaptureOnly) return state_.frameSize;
  std::uint32_t size = encoder_->Encode(source, EncodeBuffer(), rect);
  if (o.bMeasureCETime) log_("Vexmark: Encode screen: %d ms\n", static_cast<int>(stopwatch_.Lap()));
  return size;
}

void TestThreads::VexmarkThreadProc() {
  const VexmarkOptions& o = state_.options;
  std::uint32_t start = stopwatch_.Absolute();
  log_("VexmarkThreadProc: Created.\n");
  std::uint32_t last_frame = 0;
  std::uint32_t elapsed = 0;
  for (;;) {
    elapsed = stopwatch_.Absolute() - start;
    if (o.bTestTime && elapsed >= static_cast<std::uint32_t>(o.secs) * 1000) break;
    if (FrameLimitReached()) {
      PostExitTimer();
      break;
    }
    if (Signalled(ports_.sync, g_hVexmarkThreadExitEvent.get(), 0)) {
      log_("VexmarkThreadProc: g_hVexmarkThreadExitEvent, quit test.\n");
      break;
    }
    if (desktop_ && desktop_->DisplayChanged()) {
      log_("VexmarkThreadProc: Display changed, quit test.\n");
      break;
    }
    if (o.bTestIntTime) {
      std::uint32_t now = stopwatch_.Absolute();
      if (now < last_frame + static_cast<std::uint32_t>(o.intervalMs)) {
        ports_.clock.Sleep(1);
        continue;
      }
      last_frame = now;
    }
    std::uint32_t captured = 0;
    std::uint32_t encoded = VexmarkFrame(state_.captureRect, captured);
    std::int32_t count = ++state_.iVexmark10s;
    state_.totalCapturedBytes += captured;
    state_.totalEncodedBytes += encoded;
    log_("VexmarkThreadProc: Vexmark(%04d): capture screen %d bytes & %s to %d bytes.\n",
         static_cast<int>(count), static_cast<int>(captured), o.bCaptureOnly ? "return" : "encode",
         static_cast<int>(encoded));
  }
  log_("VexmarkThreadProc: Total time: %d ms.\n", static_cast<int>(elapsed));
  if (!o.bEncodeOnly) {
    LogReport("VexmarkThreadProc", state_.totalCapturedBytes, state_.totalEncodedBytes);
  }
  log_("VexmarkThreadProc: Exit.\n");
}

std::uint32_t TestThreads::FPSCapture(int slot, const Rect& rect) {
  if (!desktop_) {
    log_("FPSCapture: Destop not initialized!\n");
    return 0;
  }
  desktop_->CaptureSlotFrame(slot, rect);
  if (encoder_ && encoder_->GpuEncoder()) {
    CaptureSlot& s = desktop_->Ring().slots[slot];
    if (!encoder_->PrepareSourceForGPU({s.buffer, s.buffer_size}, rect)) {
      log_("m_pGPUEncoder->PrepareSourceForGPU failed!\n");
      return 0;
    }
  }
  return state_.frameSize;
}

void TestThreads::FPSCaptureThreadProc() {
  log_("FPSCaptureThreadProc: Created.\n");
  CaptureRing& ring = desktop_->Ring();
  int captures = 0;
  for (;;) {
    int slot = ring.captureIndex;
    platform::Event* events[] = {ring.slots[slot].free_event.get(),
                                 g_hFPSCaptureThreadExitEvent.get()};
    platform::WaitResult wait = ports_.sync.WaitAny(events, platform::kWaitInfinite);
    if (wait.kind != platform::WaitResult::Kind::kSignalled) {
      log_("FPSCaptureThreadProc: WaitForMultipleObjects returns error! %d\n",
           static_cast<int>(wait.error));
      QuitIfNoTimerDue();
      break;
    }
    if (wait.index == 1) {
      log_("FPSCaptureThreadProc: g_hFPSCaptureThreadExitEvent, quit test.\n");
      break;
    }
    if (FrameLimitReached()) break;
    if (desktop_->DisplayChanged()) {
      log_("FPSCaptureThreadProc: Display changed, quit test.\n");
      break;
    }
    std::uint32_t size = FPSCapture(slot, state_.captureRect);
    if (size == 0) {
      log_("FPSCaptureThreadProc: FPSCapture failed! quit test.\n");
      QuitIfNoTimerDue();
      break;
    }
    ring.slots[slot].filled_event->Set();
    ++captures;
    log_("FPSCaptureThreadProc: FPSCapture(%04d): capture screen %d bytes.\n", captures,
         static_cast<int>(size));
    ring.captureIndex = (slot + 1) % kRingSlots;
    if (++ring.framesCaptured == kRingFillBeforeEncode) {
      SetExitTimer();
      encode_resume_->Set();
    }
  }
  log_("FPSCaptureThreadProc: Exit.\n");
}

std::uint32_t TestThreads::FPSEncode(const Rect& rect, int slot) {
  if (!encoder_) {
    log_("FPSEncode: Encoder not initialized!\n");
    return 0;
  }
  CaptureSlot& s = desktop_->Ring().slots[slot];
  return encoder_->Encode({s.buffer, s.buffer_size}, EncodeBuffer(), rect);
}

void TestThreads::FPSEncodeThreadProc() {
  const VexmarkOptions& o = state_.options;
  std::uint32_t start = stopwatch_.Absolute();
  log_("FPSEncodeThreadProc: Created.\n");
  CaptureRing& ring = desktop_->Ring();
  std::uint32_t elapsed = 0;
  for (;;) {
    if (FrameLimitReached()) {
      PostExitTimer();
      break;
    }
    int slot = ring.encodeIndex;
    platform::Event* events[] = {ring.slots[slot].filled_event.get(),
                                 g_hFPSEncodeThreadExitEvent.get()};
    platform::WaitResult wait = ports_.sync.WaitAny(events, platform::kWaitInfinite);
    if (wait.kind != platform::WaitResult::Kind::kSignalled) {
      log_("FPSEncodeThreadProc: WaitForMultipleObjects returns error! %d\n",
           static_cast<int>(wait.error));
      QuitIfNoTimerDue();
      break;
    }
    if (wait.index == 1) {
      log_("FPSEncodeThreadProc: g_hFPSEncodeThreadExitEvent, quit test.\n");
      break;
    }
    elapsed = stopwatch_.Absolute() - start;
    if (o.bTestTime && elapsed >= static_cast<std::uint32_t>(o.secs) * 1000) break;
    if (desktop_->DisplayChanged()) {
      log_("FPSEncodeThreadProc: Display changed, quit test.\n");
      break;
    }
    std::uint32_t size = FPSEncode(ring.slots[slot].rect, slot);
    if (size == 0) {
      log_("FPSEncodeThreadProc: FPSEncode failed! quit test.\n");
      QuitIfNoTimerDue();
      break;
    }
    state_.totalEncodedBytes += size;
    std::int32_t count = ++state_.iVexmark10s;
    log_("FPSEncodeThreadProc: FPSEncode(%04d): encode screen %d bytes.\n", static_cast<int>(count),
         static_cast<int>(size));
    ring.slots[slot].free_event->Set();
    ring.encodeIndex = (slot + 1) % kRingSlots;
    ++ring.framesEncoded;
  }
  std::uint64_t captured =
      static_cast<std::uint64_t>(static_cast<std::int64_t>(state_.frameSize) *
                                 static_cast<std::int64_t>(state_.iVexmark10s.load()));
  state_.totalCapturedBytes = captured;
  LogReport("FPSEncodeThreadProc", captured, state_.totalEncodedBytes);
  log_("FPSEncodeThreadProc: Total time: %d ms.\n", static_cast<int>(elapsed));
  log_("FPSEncodeThreadProc: Exit.\n");
}

}  // namespace vexmark
