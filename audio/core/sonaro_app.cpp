#include "audio/core/sonaro_app.h"

#include "audio/core/wide_text.h"

namespace audio {

CsonaroApp::CsonaroApp(SonaroPorts ports)
    : ports_(ports),
      endpoints_({ports.registry, ports.com, ports.core_audio, ports.policy},
                 ComputeOsPolicyClass(ports.os_version)),
      close_message_(ports.windows.RegisterMessage(kCloseMessageName)),
      local_sound_message_(ports.windows.RegisterMessage(kLocalSoundMessageName)),
      device_(ports.devices) {}

// The frame may outlive the application object (its window goes with the window system):
// it must not report to an object that is gone.
CsonaroApp::~CsonaroApp() { ports_.windows.DetachFrame(); }

int CsonaroApp::Run() {
  if (!InitApplication()) {
    state_ = SonaroState::kRefused;
    return kExitRefused;
  }
  if (!InitInstance()) {
    // A frame that never came to life cannot run the shutdown when it goes: run it here, so
    // the default device is given back.
    Shutdown();
    return kExitRefused;
  }
  // A quit posted by anyone ends the loop with the frame still alive: the default must come
  // back all the same.
  const int exit_code = ports_.windows.RunMessageLoop();
  Shutdown();
  return exit_code;
}

void CsonaroApp::RunExitAction() { endpoints_.RunExitAction(); }

bool CsonaroApp::InitApplication() {
  if (AnotherInstanceRuns()) return false;
  os_version_ = ReadProgramOsVersion(ports_.os_version);
  if (device_.OpenVirtualAudioDevice() != platform::kErrorSuccess) return false;
  if (!device_.SendQuery()) return LeaveWithoutStreaming(false);
  if (!device_.SendMap(&addresses_)) return LeaveWithoutStreaming(false);
  // Addresses the system does not show as readable memory are never read. The driver did map
  // them, so the default still switches: only local sound, which reads them, is given up.
  shared_memory_ = ports_.shared_memory.Resolve(addresses_);
  device_.SendConfirm(addresses_);
  endpoints_.SetDefaultPlayback(os_version_);
  if (ContainsIgnoringCase(endpoints_.SavedPlaybackName(), kVirtualDeviceMark) || !shared_memory_) {
    state_ = SonaroState::kIdle;
    return LeaveWithoutStreaming(true);
  }
  StartStreaming();
  return true;
}

bool CsonaroApp::AnotherInstanceRuns() {
  for (WindowHandle window : ports_.windows.TopLevelWindows()) {
    if (ports_.windows.Property(window, kInstanceProperty) == 1) {
      ports_.windows.SetForeground(window);
      return true;
    }
  }
  return false;
}

void CsonaroApp::StartStreaming() {
  local_playback_ = std::make_unique<LocalPlayback>(ports_.direct_sound, *shared_memory_,
                                                    ports_.sync, ports_.clock);
  // Without the saved card local playback stays closed: the system's default device is now
  // the virtual one, and playing into it would feed the driver its own output.
  if (const auto device = local_playback_->FindLocalDevice(endpoints_.SavedPlaybackName())) {
    local_playback_->OpenLocalPlayback(&*device);
  }
  monitor_ = std::make_unique<CStreamMonitor>(*shared_memory_, *local_playback_, ports_.sync,
                                              ports_.clock);
  monitor_->Start();
  state_ = SonaroState::kReady;
}

bool CsonaroApp::LeaveWithoutStreaming(bool result) {
  ReleaseDevice();
  return result;
}

void CsonaroApp::ReleaseDevice() {
  // Sends nothing when the device is already closed.
  if (addresses_.data_area != 0) device_.SendUnmap(addresses_);
  device_.Close();
  shared_memory_.reset();
}

bool CsonaroApp::InitInstance() {
  ports_.windows.SetRegistryKey(kFrameworkRegistryKey);
  if (!ports_.windows.CreateMainFrame(kFrameResourceId, kFrameLoadStyle, *this)) return false;
  ports_.windows.SetFrameText(kFrameTitle);
  ports_.windows.SetFrameProperty(kInstanceProperty, 1);
  ports_.windows.ShowFrame(ShowCommand::kHide);
  ports_.windows.UpdateFrame();
  HideApplication();
  return true;
}

void CsonaroApp::HideApplication() {
  ports_.windows.ShowFrame(ShowCommand::kHide);
  ports_.windows.ShowOwnedPopups(false);
  ports_.windows.MoveFrameToBottom();
}

void CsonaroApp::OnRegisteredMessage(uint32_t message) {
  if (message == 0) return;
  if (message == close_message_) {
    ports_.windows.DestroyFrame();
  } else if (message == local_sound_message_ && monitor_) {
    monitor_->EnableLocalSound();
    state_ = SonaroState::kLocalSound;
  }
}

void CsonaroApp::OnFrameDestroyed() { Shutdown(); }

// The system may end the process as soon as the session's end has been answered.
void CsonaroApp::OnSessionEnding() { Shutdown(); }

void CsonaroApp::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  state_ = SonaroState::kClosing;
  endpoints_.RestoreDefaultPlayback(os_version_);
  // The monitor stops and local playback closes as they go, in that order.
  monitor_.reset();
  local_playback_.reset();
  ReleaseDevice();
  state_ = SonaroState::kEnded;
}

}  // namespace audio
