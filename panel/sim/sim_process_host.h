// The process's side of the world for start-up tests: the instance mutex, a running
// instance, the shell, and the start-up steps with failures a test can inject.
#pragma once
#include <string>

#include "panel/core/instance_mutex.h"
#include "panel/core/process_startup.h"
#include "panel/core/running_instance.h"
#include "panel/core/shell_open.h"
#include "panel/sim/call_log.h"

namespace panel::sim {

class SimInstanceMutex : public InstanceMutex {
 public:
  explicit SimInstanceMutex(CallLog& log) : log_(log) {}
  bool Exists(std::u16string_view name) override;
  CreateResult Create(std::u16string_view name) override;
  void OpenReleaseClose(std::u16string_view name) override;

  // Another process holds the mutex already.
  void SetHeldElsewhere(bool held) { held_elsewhere_ = held; }
  // Create answers this instead of creating.
  void SetCreateAnswer(CreateResult answer) { create_answer_ = answer; }

 private:
  CallLog& log_;
  bool held_elsewhere_ = false;
  CreateResult create_answer_ = CreateResult::kCreated;
};

// A running instance whose frame window (10) has a pop-up (11) last active; this thread is 1,
// the foreground window's thread 2.
class SimRunningInstance : public RunningInstance {
 public:
  static constexpr WindowId kFrame = 10;
  static constexpr WindowId kPopup = 11;

  explicit SimRunningInstance(CallLog& log) : log_(log) {}
  WindowId FindTopLevel(std::u16string_view window_class, std::u16string_view title) override;
  WindowId LastActivePopup(WindowId window) override;
  void BringToTop(WindowId window) override;
  ThreadId CurrentThread() override { return 1; }
  ThreadId ForegroundWindowThread() override { return 2; }
  void AttachInput(ThreadId thread, ThreadId to_thread, bool attach) override;
  void Restore(WindowId window) override;
  void SetTopmost(WindowId window, bool topmost) override;
  void SetForeground(WindowId window) override;

  void SetWindowPresent(bool present) { present_ = present; }

 private:
  CallLog& log_;
  bool present_ = true;
};

class SimShellOpen : public ShellOpen {
 public:
  explicit SimShellOpen(CallLog& log) : log_(log) {}
  intptr_t Execute(std::u16string_view verb, std::u16string_view file,
                   std::u16string_view parameters, int show) override;
  // The answer for files named "iexplore.exe" (42 by default: started).
  void SetBrowserResult(intptr_t result) { browser_result_ = result; }

 private:
  CallLog& log_;
  intptr_t browser_result_ = 42;
};

class SimProcessStartup : public ProcessStartup {
 public:
  explicit SimProcessStartup(CallLog& log) : log_(log) {}
  std::string ProgramFolder() override { return "C:\\Quandle\\"; }
  void LocateSkin(std::u16string_view subfolder, std::u16string_view archive) override;
  bool CoInitialize() override;
  void CoUninitialize() override;
  void WsaStartup(int major, int minor) override;
  bool SetProcessDpiAware() override;
  bool CreateFrameWindow(const FrameCreation& creation) override;
  void RunMessageLoop() override;

  void FailCoInitialize() { co_initialize_fails_ = true; }
  void FailWindowCreation() { window_fails_ = true; }
  const FrameCreation& LastCreation() const { return creation_; }

 private:
  CallLog& log_;
  bool co_initialize_fails_ = false;
  bool window_fails_ = false;
  FrameCreation creation_;
};

}  // namespace panel::sim
