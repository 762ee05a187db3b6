#include "panel/sim/sim_process_host.h"

namespace panel::sim {

bool SimInstanceMutex::Exists(std::u16string_view name) {
  log_.Add("OpenMutex " + LogText(name));
  return held_elsewhere_;
}

InstanceMutex::CreateResult SimInstanceMutex::Create(std::u16string_view name) {
  log_.Add("CreateMutex " + LogText(name));
  return held_elsewhere_ ? CreateResult::kAlreadyExisted : create_answer_;
}

void SimInstanceMutex::OpenReleaseClose(std::u16string_view name) {
  log_.Add("ReleaseMutex " + LogText(name));
}

WindowId SimRunningInstance::FindTopLevel(std::u16string_view window_class,
                                          std::u16string_view title) {
  log_.Add("FindWindow " + LogText(window_class) + " " + LogText(title));
  return present_ ? kFrame : 0;
}

WindowId SimRunningInstance::LastActivePopup(WindowId window) {
  log_.Add("GetLastActivePopup " + std::to_string(window));
  return window == kFrame ? kPopup : window;
}

void SimRunningInstance::BringToTop(WindowId window) {
  log_.Add("BringWindowToTop " + std::to_string(window));
}

void SimRunningInstance::AttachInput(ThreadId thread, ThreadId to_thread, bool attach) {
  log_.Add("AttachThreadInput " + std::to_string(thread) + " " + std::to_string(to_thread) +
           (attach ? " on" : " off"));
}

void SimRunningInstance::Restore(WindowId window) {
  log_.Add("ShowWindow " + std::to_string(window) + " SW_RESTORE");
}

void SimRunningInstance::SetTopmost(WindowId window, bool topmost) {
  log_.Add("SetWindowPos " + std::to_string(window) +
           (topmost ? " HWND_TOPMOST" : " HWND_NOTOPMOST"));
}

void SimRunningInstance::SetForeground(WindowId window) {
  log_.Add("SetForegroundWindow " + std::to_string(window));
}

intptr_t SimShellOpen::Execute(std::u16string_view verb, std::u16string_view file,
                               std::u16string_view parameters, int show) {
  log_.Add("ShellExecute " + LogText(verb) + " " + LogText(file) + " [" + LogText(parameters) +
           "] " + std::to_string(show));
  return file == u"iexplore.exe" ? browser_result_ : 42;
}

void SimProcessStartup::LocateSkin(std::u16string_view subfolder, std::u16string_view archive) {
  log_.Add("LocateSkin " + LogText(subfolder) + " " + LogText(archive));
}

bool SimProcessStartup::CoInitialize() {
  log_.Add("CoInitialize");
  return !co_initialize_fails_;
}

void SimProcessStartup::CoUninitialize() { log_.Add("CoUninitialize"); }

void SimProcessStartup::WsaStartup(int major, int minor) {
  log_.Add("WSAStartup " + std::to_string(major) + "." + std::to_string(minor));
}

bool SimProcessStartup::SetProcessDpiAware() {
  log_.Add("SetProcessDPIAware");
  return true;
}

bool SimProcessStartup::CreateFrameWindow(const FrameCreation& creation) {
  log_.Add("CreateFrameWindow");
  creation_ = creation;
  return !window_fails_;
}

void SimProcessStartup::RunMessageLoop() { log_.Add("MessageLoop"); }

}  // namespace panel::sim
