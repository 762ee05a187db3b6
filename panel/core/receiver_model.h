// The receivers and streaming, kept in step with the streaming library: the poll worker, the
// searching animation, binding, play and stop, and the settings the library holds.
//
// Threads: the UI thread (timer routine, TogglePlay, SelectReceiver, row activation,
// settings), one poll worker at a time, one command worker and at most one animation thread.
// The UI thread never calls the library nor waits for the model lock (but for a bounded wait
// at exit): its operations are queued, in order, on the command worker. The model lock is held
// around each operation's state changes and library calls, so each sees and leaves the state
// consistent and the library calls keep their order. Controls are never touched off the UI
// thread: every change an operation makes to them is queued with CPaintManagerUI::Invoke, in
// order, and the UI thread applies the queue between messages (one FIFO for all threads, so a
// change made later is never overtaken by an older one). Nothing holding the lock waits for
// the UI thread: stopping the animation joins a thread that only queues work.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "panel/core/command_worker.h"
#include "panel/core/receiver_state.h"
#include "panel/core/shell_open.h"
#include "panel/core/streaming_library.h"
#include "panel/core/window_timers.h"
#include "platform/debug_output.h"
#include "platform/sync.h"
#include "ui/button.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/progress.h"

namespace panel {

class SearchAnimation;

// The controls the model changes; any may be null when the skin lacks it.
struct ReceiverControls {
  ui::CButtonUI* play = nullptr;
  ui::CButtonUI* close = nullptr;
  ui::CProgressUI* video_mode = nullptr;
  ui::COptionUI* local_audio = nullptr;
  ui::COptionUI* extended_screen = nullptr;
  ui::CControlUI* extended_screen_caption = nullptr;
  ui::CControlUI* hint = nullptr;
};

// What the timer routine hands one poll worker.
struct PollRequest {
  ui::CControlUI* list = nullptr;  // "domainlist"
  ui::CButtonUI* play = nullptr;
};

struct ReceiverModelPorts {
  StreamingLibrary& library;
  platform::Sync& sync;
  WindowTimers& timers;
  ShellOpen& shell;
  platform::DebugOutput& debug;
  ui::CPaintManagerUI& manager;
};

// A library that reports more receivers than this is broken: the list shows this many.
inline constexpr int32_t kMaxReceivers = 256;
// How long the exit waits for a library call in progress before it gives up on LibraryDestroy.
inline constexpr int kExitWaitMs = 5000;

class ReceiverModel {
 public:
  // hide_to_tray runs on the UI thread after a play command was accepted.
  ReceiverModel(ReceiverModelPorts ports, std::function<void()> hide_to_tray);
  // Waits for the queued commands and a running poll worker, then stops the animation.
  ~ReceiverModel();
  ReceiverModel(const ReceiverModel&) = delete;
  ReceiverModel& operator=(const ReceiverModel&) = delete;

  void BindControls(const ReceiverControls& controls);
  // Window creation: video mode, local audio and extended screen as the library has them;
  // ReceiverState becomes Searching.
  void ShowLibrarySettings();
  // Window creation: creates SearchAnimationEvent and starts the animation thread.
  void StartSearchAnimation();
  // Window creation: a short thread that arms the poll timer (through the UI thread) and ends.
  void StartPollTimerArming();

  // The poll timer routine (UI thread): acts on timer 9999 only.
  void OnPollTimer(uint32_t id);
  // One poll; the thread body of the poll worker.
  void PollWorker(const PollRequest& request);

  // "click" on "play": "play" and "closebtn" are disabled at once and stay so until the
  // command's answer; a click while a command runs sends nothing.
  void TogglePlay();
  // "itemactivate" from a row: the rightmost 30 pixels open the web page, else
  // SelectReceiver with the row's tag.
  void ActivateRow(const ui::CControlUI& row, ui::Point mouse);
  void SelectReceiver(int32_t index);
  // "valuechanged" on "sliderbuffer", "selectchanged" on "checklocalaudio" and "checkextscr".
  void OnVideoModeChanged(int32_t value);
  void OnLocalAudioChanged(bool selected);
  void OnExtendedScreenChanged(bool selected);

  // ZYNOV_LibraryDestroy under the model lock, so no operation is inside the library then;
  // operations after it make no library calls and polls stop re-arming the timer. A library
  // call still running after kExitWaitMs is left to the end of the process: no destroy then.
  void DestroyLibrary();

  ReceiverSnapshot Snapshot() const;

 private:
  // Called with the model lock held; play is the button the operation changes.
  void EnterSearching(ui::CButtonUI* play);
  void EnterBound(ui::CButtonUI* play);
  // Starts SearchAnimation changing this play button, unless one runs already.
  void StartAnimationIfStopped(ui::CButtonUI* play);
  void StopAnimation();
  void RebuildList(ui::CControlUI* list, int32_t count);
  void HandleEvent(const LibraryEvent& event, ui::CButtonUI* play);
  // Queues the hint for the current state when it changed.
  void PostHint();
  // The command worker's part of TogglePlay; true when a command was accepted.
  bool SendPlayOrStop();
  // The "SetPlay" steps of TogglePlay; true when the library accepted the command.
  bool StartPlaying();
  void RunSelectReceiver(int32_t index);
  // Queues a control change for the UI thread.
  void Post(std::function<void()> change);
  void PostPlayImage(ui::CButtonUI* play, std::u16string image);
  void PostEnabled(ui::CControlUI* control, bool enabled);
  void ArmPollTimer();
  void OpenWebPage(int32_t index);
  void OpenAddress(const std::u16string& address);

  ReceiverModelPorts ports_;
  // Queued changes run only while the model lives.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  std::function<void()> hide_to_tray_;
  ReceiverControls controls_;

  mutable std::timed_mutex lock_;  // the model lock
  ReceiverState state_ = ReceiverState::kIdle;
  int32_t selected_ = 0;
  bool streaming_ = false;
  int32_t known_count_ = 0;
  int32_t empty_polls_ = 0;
  std::vector<std::u16string> names_;  // of the listed receivers
  std::u16string failure_;
  std::u16string hint_;  // as last queued
  bool library_destroyed_ = false;
  std::unique_ptr<SearchAnimation> animation_;  // exists while SearchAnimation runs

  // UI thread only.
  bool command_running_ = false;  // a play or stop click waits for its answer
  std::unique_ptr<platform::Thread> poll_thread_;
  std::unique_ptr<platform::Thread> arming_thread_;
  CommandWorker commands_;
};

}  // namespace panel
