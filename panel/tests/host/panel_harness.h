// The control panel's frame on the simulated world: the real skin in the toolkit with the
// paint recorder, the stand-in library's model, threads and timers on virtual time. The test's
// thread is the UI thread: it runs timers, notifications and the queued control changes.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "panel/core/panel_frame.h"
#include "panel/sim/receiver_simulation.h"
#include "panel/sim/sim_frame_host.h"
#include "panel/sim/sim_process_host.h"
#include "panel/sim/virtual_threads.h"
#include "platform/sim/sim_debug_output.h"
#include "ui/dialog_builder.h"
#include "ui/skin_resources.h"
#include "ui/window_messages.h"

namespace panel::test {

// The library model, with LibraryDestroy also written to the shared log. before_call, when
// set, runs on the calling thread at the start of the calls that answer the user's clicks: a
// test sees which thread calls, or holds a call there as a slow library would.
class LoggedLibrary : public sim::ReceiverSimulation {
 public:
  explicit LoggedLibrary(sim::CallLog& log) : log_(log) {}
  void LibraryDestroy() override {
    log_.Add("LibraryDestroy");
    ReceiverSimulation::LibraryDestroy();
  }
  int32_t GetDeviceCount() override {
    Before("GetDeviceCount");
    return ReceiverSimulation::GetDeviceCount();
  }
  void GetDeviceInfo(int32_t receiver, ReceiverInfo* info) override {
    Before("GetDeviceInfo");
    ReceiverSimulation::GetDeviceInfo(receiver, info);
  }
  int32_t ServiceInit(int32_t receiver) override {
    Before("ServiceInit");
    return ReceiverSimulation::ServiceInit(receiver);
  }
  int32_t SetCommand(int32_t receiver, const char16_t* command,
                     const char16_t* parameter) override {
    Before("SetCommand");
    return ReceiverSimulation::SetCommand(receiver, command, parameter);
  }
  void SetVideoMode(int32_t mode) override {
    Before("SetVideoMode");
    ReceiverSimulation::SetVideoMode(mode);
  }
  void SetLocalAudio(int32_t on) override {
    Before("SetLocalAudio");
    ReceiverSimulation::SetLocalAudio(on);
  }

  std::function<void(std::string_view function)> before_call;

 private:
  void Before(std::string_view function) {
    if (before_call) before_call(function);
  }
  sim::CallLog& log_;
};

class PanelHarness {
 public:
  PanelHarness() {
    resources.SetResourcePath(OV_SKIN_FOLDER u"/");
    resources.SetResourceZip(u"VivuVovo.zf");
    manager.Init(port, resources, decoder);
    ui::CDialogBuilder builder;
    auto root = builder.Create(u"skin.xml", manager);
    EXPECT_TRUE(root) << builder.GetLastError();
    manager.AttachDialog(std::move(root));
    library.LibraryInit();
  }

  ~PanelHarness() {
    frame.reset();
    threads.Settle();
  }

  // Window creation, then the queued changes applied.
  void Create() {
    frame = std::make_unique<PanelFrame>(
        FramePorts{library, threads, timers, window, tray, shell, mutex, debug,
                   [this](int topology) {
                     topologies.push_back(topology);
                     return 1;
                   }},
        manager);
    manager.AddNotifier(frame.get());
    frame->OnCreate();
    Settle();
  }

  // Lets every thread come to rest and applies what they queued, until nothing changes.
  void Settle() {
    timers.SetNow(threads.NowMs());
    for (;;) {
      threads.Settle();
      const int before = port.PostedInvokes();
      Pump();
      threads.Settle();
      if (port.PostedInvokes() == before) return;
    }
  }
  void Pump() {
    intptr_t result = 0;
    manager.MessageHandler(ui::kInvokeMessage, 0, 0, result);
  }

  // Runs virtual time forward by ms: timers fire on this thread, time-outs wake threads.
  void Run(uint64_t ms) {
    const uint64_t end = threads.NowMs() + ms;
    for (;;) {
      Settle();
      if (auto id = timers.TakeDue(threads.NowMs())) {
        frame->OnTimer(*id);
        continue;
      }
      uint64_t next = end;
      if (auto due = timers.NextDue()) next = std::min(next, *due);
      if (auto deadline = threads.NextDeadline()) next = std::min(next, *deadline);
      if (next <= threads.NowMs()) {
        if (threads.NowMs() >= end) return;
        next = threads.NowMs() + 1;
      }
      threads.AdvanceTo(next);
    }
  }
  // The time of the first poll: the arming thread armed the timer at creation.
  void RunPolls(int polls) { Run(static_cast<uint64_t>(polls) * kPollPeriodMs); }

  ui::CControlUI* Find(std::u16string_view name) { return manager.FindControl(name); }
  ui::CButtonUI* Play() { return dynamic_cast<ui::CButtonUI*>(Find(u"play")); }
  ui::CListUI* List() { return dynamic_cast<ui::CListUI*>(Find(u"domainlist")); }
  ReceiverSnapshot State() { return frame->Receivers().Snapshot(); }

  void Notify(std::u16string type, ui::CControlUI* sender, ui::Point point = {}) {
    ui::TNotifyUI msg;
    msg.sType = std::move(type);
    msg.pSender = sender;
    msg.ptMouse = point;
    frame->Notify(msg);
    Settle();
  }
  void Click(std::u16string_view name) { Notify(u"click", Find(name)); }

  const ui::sim::PaintRecorder& Paint() {
    intptr_t result = 0;
    manager.UpdateLayout();
    manager.MessageHandler(ui::kWmPaint, 0, 0, result);
    return *port.LastPaint();
  }

  // The library calls made since the last ClearCalls that match the prefix.
  int CountCalls(std::string_view prefix) {
    const auto calls = library.Calls();
    return static_cast<int>(std::count_if(
        calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
  }

  sim::CallLog log;
  LoggedLibrary library{log};
  sim::VirtualThreads threads;
  sim::SimWindowTimers timers{log};
  ui::sim::SimWindowPort port{{0, 0, 800, 572}};
  sim::SimFrameWindow window{log, port};
  sim::SimTrayIcon tray{log};
  sim::SimShellOpen shell{log};
  sim::SimInstanceMutex mutex{log};
  platform::sim::RecordingDebugOutput debug;
  ui::sim::HostResourceFiles files;
  ui::sim::PngHeaderDecoder decoder;
  ui::SkinResources resources{files};
  ui::CPaintManagerUI manager;
  std::vector<int> topologies;
  std::unique_ptr<PanelFrame> frame;
};

}  // namespace panel::test
