// The desktop object: everything needed to read the primary screen into memory (contexts,
// bitmaps, DIB sections, the pixel layout, the two-thread capture ring, the sink window and the
// DirectDraw mode detector) and the three capture paths: GDI, WDDM 1.1 kernel-mode rendering
// through the sink window, and the filter driver's WDDM 1.0 shadow buffers.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "bench/core/debug_log.h"
#include "bench/core/direct_draw.h"
#include "bench/core/gdi.h"
#include "bench/core/kmd_client.h"
#include "bench/core/run_state.h"
#include "bench/core/windowing.h"
#include "platform/sync.h"

namespace vexmark {

inline constexpr int kRingSlots = 32;
inline constexpr char kSinkClassName[] = "Vexmark desktop sink";
inline constexpr char kSinkTitle[] = "Vexmark";

struct CaptureSlot {
  GdiObject bitmap = 0;
  std::uint8_t* bits = nullptr;
  std::uint8_t* buffer = nullptr;
  std::size_t buffer_size = 0;
  std::unique_ptr<std::uint8_t[]> heap;
  Rect rect;
  std::unique_ptr<platform::Event> free_event;
  std::unique_ptr<platform::Event> filled_event;
};

struct CaptureRing {
  std::array<CaptureSlot, kRingSlots> slots;
  std::atomic<int> captureIndex{0};
  std::atomic<int> encodeIndex{0};
  std::atomic<int> framesCaptured{0};
  std::atomic<int> framesEncoded{0};
};

struct DesktopPorts {
  Gdi& gdi;
  Windowing& windowing;
  DirectDrawFactory& direct_draw;
  KmdClient& kmd;
  platform::Sync& sync;
  platform::Clock& clock;
};

class vncDesktop {
 public:
  vncDesktop(DebugLog& log, const DesktopPorts& ports, RunState& state,
             WindowProcedure& sink_procedure)
      : log_(log), ports_(ports), state_(state), sink_procedure_(sink_procedure) {}
  ~vncDesktop();
  vncDesktop(const vncDesktop&) = delete;
  vncDesktop& operator=(const vncDesktop&) = delete;

  bool Startup();
  // Releases everything but the object; safe to call repeatedly.
  void Shutdown();

  ScreenInfo GetScreenInfo() const { return screen_info_; }
  void CaptureScreenFromAdapterGeneral(const Rect& rect, std::uint8_t* destination,
                                       std::size_t destination_size);
  // Copies the rectangle of the last capture from the memory bitmap (or DIB section) into
  // destination, laid out with the desktop's bytes per row.
  void CopyToBuffer(const Rect& rect, std::uint8_t* destination, std::size_t destination_size);
  // Two-thread capture into ring slot 0..31; other indices do nothing.
  void CaptureSlotFrame(int slot_index, const Rect& rect);

  WindowHandle Window() const { return window_; }
  std::uint8_t* DibBits() const { return dib_bits_; }
  // The layout frames are captured in, with the colour table of a palette screen.
  const BitmapInfo& FrameFormat() const { return bmi_; }
  // Rows are padded to 32 bits, as GDI lays out DIBs.
  std::uint32_t BytesPerRow() const { return bytes_per_row_; }
  std::size_t FrameBytes() const { return static_cast<std::size_t>(bytes_per_row_) * frame_rows_; }
  bool DisplayChanged() const { return display_changed_.load(); }
  void SetDisplayChanged(bool changed) { display_changed_.store(changed); }
  CaptureRing& Ring() { return ring_; }

 private:
  bool SetupBitmap();
  void ConvertHeader();
  bool InitPixelFormat();
  bool CreateBuffers();
  bool CreateSingleBuffer();
  bool CreateRing(bool use_dib_sections);
  bool SetPixShifts();
  bool InitWindow();
  bool CheckCooperativeLevel();
  // True when the frame is in the memory bitmap, to be copied to the destination.
  bool FillMemoryBitmap(const Rect& rect, std::uint8_t* destination, std::size_t destination_size);
  void FillThroughSinkWindow();
  bool RectFits(const Rect& rect, std::size_t destination_size) const;
  void ReleaseRing();
  bool KernelModeRendering() const;

  DebugLog& log_;
  DesktopPorts ports_;
  RunState& state_;
  WindowProcedure& sink_procedure_;

  WindowHandle window_ = 0;
  DcHandle m_hmemdc = 0;
  DcHandle m_hrootdc = 0;
  GdiObject membitmap_ = 0;
  Rect bounds_;
  int true_colour_ = 0;
  BitmapInfo bmi_{};
  ScreenInfo screen_info_;
  std::uint32_t bytes_per_row_ = 0;
  std::uint32_t frame_rows_ = 0;
  std::atomic<bool> display_changed_{false};
  std::uint8_t* dib_bits_ = nullptr;
  int format_converted_ = 0;
  CaptureRing ring_;
  bool ring_made_ = false;
  std::unique_ptr<DirectDraw7> direct_draw_;
  bool class_registered_ = false;
  bool exclusive_mode_seen_ = false;
};

}  // namespace vexmark
