// The process-wide start-up steps and the frame window's creation and message loop, in the
// terms the start-up sequence needs.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "panel/core/running_instance.h"

namespace panel {

inline constexpr char16_t kSkinFolder[] = u"\\skin\\";
inline constexpr char16_t kSkinArchive[] = u"VivuVovo.zf";

// How the frame window is created: visible, caption, system menu, minimise and maximise
// boxes; WS_EX_APPWINDOW | WS_EX_STATICEDGE; at (0, 0); with icon resource 101.
struct FrameCreation {
  const char16_t* title = kFrameTitle;
  uint32_t style = 0x10CB0000;
  uint32_t ex_style = 0x00060000;
  int x = 0;
  int y = 0;
  int width = 800;
  int height = 572;
  int icon_resource = 101;
};

class ProcessStartup {
 public:
  virtual ~ProcessStartup() = default;
  // The program's folder, ending with a separator, in UTF-8 (any letters survive).
  virtual std::string ProgramFolder() = 0;
  // CPaintManagerUI::SetInstance; SetResourcePath with the program's folder (as
  // GetInstancePath gives it) followed by subfolder, as is; SetResourceZip(archive).
  virtual void LocateSkin(std::u16string_view subfolder, std::u16string_view archive) = 0;
  // CoInitialize (apartment-threaded); false when it fails.
  virtual bool CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // WSAStartup with the version (major, minor); its result is not used.
  virtual void WsaStartup(int major, int minor) = 0;
  // Calls user32's SetProcessDPIAware when it is exported; false when it is not.
  virtual bool SetProcessDpiAware() = 0;
  // Creates the frame window as described (no parent, no menu), sets its icon, centres it and
  // shows it (SW_SHOW). False when the window could not be created.
  virtual bool CreateFrameWindow(const FrameCreation& creation) = 0;
  // CPaintManagerUI::MessageLoop until the quit message.
  virtual void RunMessageLoop() = 0;
};

}  // namespace panel
