// The process start-up steps on Windows: COM, Winsock, DPI awareness, the skin's location and
// the frame window with its message loop.
#pragma once
#include "panel/app/all_frame_wnd.h"
#include "panel/core/process_startup.h"
#include "platform/win32/win32_debug_output.h"

namespace panel {

class Win32ProcessStartup : public ProcessStartup {
 public:
  // The services are handed to the frame window when it is created.
  Win32ProcessStartup(StreamingLibrary& library, platform::Sync& sync, ShellOpen& shell,
                      InstanceMutex& mutex);

  std::string ProgramFolder() override;
  void LocateSkin(std::u16string_view folder, std::u16string_view archive) override;
  bool CoInitialize() override;
  void CoUninitialize() override;
  void WsaStartup(int major, int minor) override;
  bool SetProcessDpiAware() override;
  bool CreateFrameWindow(const FrameCreation& creation) override;
  void RunMessageLoop() override;

 private:
  platform::win32::Win32DebugOutput debug_;
  ui::Win32ResourceFiles files_;
  ui::SkinResources skin_{files_};
  ui::GdiplusImageDecoder decoder_;
  FrameServices services_;
};

}  // namespace panel
