#include "panel/core/receiver_model.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "panel/core/field_text.h"
#include "panel/core/hint_text.h"
#include "panel/core/play_parameter.h"
#include "panel/core/receiver_row.h"
#include "panel/core/search_animation.h"
#include "panel/core/web_address.h"

namespace panel {

namespace {

constexpr char16_t kPlayImage[] = u"Play.png";
constexpr char16_t kStopImage[] = u"Stop.png";
constexpr int32_t kUniqueNameCapacity = 128;
// Every 202nd empty poll starts a new search.
constexpr int32_t kEmptyPollsBeforeRediscovery = 200;

// "True" and "False" are all a play report can say; a longer value is read no further.
constexpr size_t kMaxValueLength = 16;

// A library that answers a negative count has found nothing; one that answers more receivers
// than the list shows gets that many rows, not a row (and a record read) per count.
int32_t ReceiverCount(StreamingLibrary& library) {
  return std::clamp(library.GetDeviceCount(), 0, kMaxReceivers);
}

}  // namespace

ReceiverModel::ReceiverModel(ReceiverModelPorts ports, std::function<void()> hide_to_tray)
    : ports_(ports), hide_to_tray_(std::move(hide_to_tray)), commands_(ports.sync) {}

ReceiverModel::~ReceiverModel() {
  // Commands and the poll worker may start an animation, so they end first.
  commands_.Wait();
  poll_thread_.reset();
  arming_thread_.reset();
  std::lock_guard hold(lock_);
  StopAnimation();
}

void ReceiverModel::BindControls(const ReceiverControls& controls) { controls_ = controls; }

void ReceiverModel::Post(std::function<void()> change) {
  ports_.manager.Invoke([alive = std::weak_ptr<int>(alive_), change = std::move(change)] {
    if (alive.lock()) change();
  });
}

void ReceiverModel::PostPlayImage(ui::CButtonUI* play, std::u16string image) {
  if (play == nullptr) return;
  Post([play, image = std::move(image)] { play->SetNormalImage(image); });
}

void ReceiverModel::PostEnabled(ui::CControlUI* control, bool enabled) {
  if (control == nullptr) return;
  // While a play or stop command waits for its answer, its buttons stay disabled.
  Post([this, control, enabled] { control->SetEnabled(enabled && !command_running_); });
}

void ReceiverModel::ShowLibrarySettings() {
  std::lock_guard hold(lock_);
  StreamingLibrary& library = ports_.library;
  const int32_t mode = library.GetVideoMode();
  if (mode >= 0 && mode <= 2 && controls_.video_mode) {
    Post([slider = controls_.video_mode, mode] { slider->SetValue(mode); });
  }
  const int32_t audio = library.GetLocalAudio();
  if ((audio == 0 || audio == 1) && controls_.local_audio) {
    // Showing the library's value must not echo it back as a change.
    Post([option = controls_.local_audio, audio] { option->Selected(audio == 1, false); });
  }
  if (library.ExistExtensionScreen() != 0) {
    const bool on = library.GetExtensionScreen() != 0;
    if (controls_.extended_screen) {
      Post([option = controls_.extended_screen, on] { option->Selected(on, false); });
    }
  } else {
    Post([option = controls_.extended_screen, caption = controls_.extended_screen_caption] {
      if (option) option->SetVisible(false);
      if (caption) caption->SetVisible(false);
    });
  }
  state_ = ReceiverState::kSearching;
  PostHint();
}

void ReceiverModel::PostHint() {
  HintFacts facts{state_, streaming_, static_cast<int32_t>(names_.size()), u"", failure_};
  if (selected_ >= 0 && static_cast<size_t>(selected_) < names_.size()) {
    facts.receiver = names_[static_cast<size_t>(selected_)];
  }
  std::u16string hint = HintText(facts);
  if (hint == hint_ || controls_.hint == nullptr) return;
  hint_ = hint;
  Post([label = controls_.hint, hint = std::move(hint)] { label->SetText(hint); });
}

void ReceiverModel::StartSearchAnimation() {
  std::lock_guard hold(lock_);
  StartAnimationIfStopped(controls_.play);
}

void ReceiverModel::StartAnimationIfStopped(ui::CButtonUI* play) {
  if (animation_) return;
  animation_ = SearchAnimation::Start(
      ports_.sync, [this, play](std::u16string image) { PostPlayImage(play, std::move(image)); });
}

void ReceiverModel::StopAnimation() {
  if (!animation_) return;
  animation_->Stop();
  animation_.reset();
}

void ReceiverModel::ArmPollTimer() {
  // Timers belong to the window's thread, so arming goes through its queue like every change.
  Post([&timers = ports_.timers] { timers.SetTimer(kPollTimerId, kPollPeriodMs); });
}

void ReceiverModel::StartPollTimerArming() {
  arming_thread_ =
      ports_.sync.StartThread([this] { ArmPollTimer(); }, platform::ThreadPriority::kNormal);
  // Without the thread the timer is armed from here: polling must start either way.
  if (!arming_thread_) ArmPollTimer();
}

void ReceiverModel::OnPollTimer(uint32_t id) {
  if (id != kPollTimerId) return;
  ports_.timers.KillTimer(kPollTimerId);
  const PollRequest request{ports_.manager.FindControl(u"domainlist"), controls_.play};
  // The previous worker armed this timer as its last step, so joining it does not wait long.
  poll_thread_.reset();
  poll_thread_ = ports_.sync.StartThread([this, request] { PollWorker(request); },
                                         platform::ThreadPriority::kNormal);
  // No worker this time; polling goes on with the next period.
  if (!poll_thread_) ArmPollTimer();
}

void ReceiverModel::PollWorker(const PollRequest& request) {
  try {
    std::lock_guard hold(lock_);
    if (library_destroyed_) return;
    StreamingLibrary& library = ports_.library;
    const int32_t count = ReceiverCount(library);
    if (count != 0) {
      if (count != known_count_) {
        known_count_ = count;
        RebuildList(request.list, count);
      }
      if (known_count_ != 0 && state_ != ReceiverState::kBound &&
          library.ServiceInit(selected_) == 0) {
        state_ = ReceiverState::kBound;
        EnterBound(request.play);
      }
    } else {
      if (empty_polls_ > kEmptyPollsBeforeRediscovery) {
        empty_polls_ = 0;
        library.Rediscovery();
      } else {
        ++empty_polls_;
      }
      EnterSearching(request.play);
    }
    auto event = std::make_unique<LibraryEvent>();
    library.BackgroundTask(event.get());
    HandleEvent(*event, request.play);
  } catch (...) {
    // A failing poll must not stop polling: the next one starts as usual.
  }
  ArmPollTimer();
}

void ReceiverModel::RebuildList(ui::CControlUI* list, int32_t count) {
  std::vector<std::u16string> names;
  names.reserve(static_cast<size_t>(count));
  auto info = std::make_unique<ReceiverInfo>();
  for (int32_t i = 0; i < count; ++i) {
    *info = ReceiverInfo{};
    ports_.library.GetDeviceInfo(i, info.get());
    names.push_back(FieldText(info->DisplayName));
  }
  names_ = names;
  PostHint();
  // One change for the whole list, so painting never sees it half built.
  Post([list, names = std::move(names)] {
    auto* receivers = dynamic_cast<ui::CListUI*>(list);
    if (receivers == nullptr) return;
    receivers->RemoveAll();
    receivers->SetItemBkImage(kRowBackground);
    for (size_t i = 0; i < names.size(); ++i) {
      receivers->Add(BuildReceiverRow(static_cast<int32_t>(i), names[i]));
    }
  });
}

void ReceiverModel::HandleEvent(const LibraryEvent& event, ui::CButtonUI* play) {
  if (event.Code == kEventVariable && FieldText(event.Name) == kVariablePlay) {
    const std::optional<std::u16string> value = PointedText(event.Value, kMaxValueLength);
    if (value != u"True" && value != u"False") return;
    const bool playing = *value == u"True";
    StopAnimation();
    PostPlayImage(play, playing ? kStopImage : kPlayImage);
    streaming_ = playing;
    failure_.clear();
    PostHint();
  } else if (event.Code == kEventSearchAgain) {
    ports_.library.Rediscovery();
    EnterSearching(play);
    known_count_ = 0;
  }
}

void ReceiverModel::EnterSearching(ui::CButtonUI* play) {
  state_ = ReceiverState::kSearching;
  StartAnimationIfStopped(play);
  PostEnabled(play, false);
  selected_ = 0;
  failure_.clear();
  PostHint();
}

void ReceiverModel::EnterBound(ui::CButtonUI* play) {
  streaming_ = false;
  StopAnimation();
  PostPlayImage(play, kPlayImage);
  PostEnabled(play, true);
  ports_.library.SetSelectDevice(selected_);
  char16_t unique_name[kUniqueNameCapacity] = {};
  ports_.library.GetDeviceUniqueName(selected_, unique_name, kUniqueNameCapacity);
  failure_.clear();
  PostHint();
}

void ReceiverModel::TogglePlay() {
  if (command_running_) return;
  command_running_ = true;
  if (controls_.close) controls_.close->SetEnabled(false);
  if (controls_.play) controls_.play->SetEnabled(false);
  commands_.Run([this] {
    std::lock_guard hold(lock_);
    const bool accepted = !library_destroyed_ && SendPlayOrStop();
    // Queued under the lock so that no later state change is overtaken by it. Play stays
    // disabled where the command found no receiver to play to.
    Post([this, accepted, bound = state_ == ReceiverState::kBound] {
      command_running_ = false;
      if (controls_.close) controls_.close->SetEnabled(true);
      if (controls_.play) controls_.play->SetEnabled(bound);
      if (accepted) hide_to_tray_();
    });
  });
}

bool ReceiverModel::SendPlayOrStop() {
  if (ReceiverCount(ports_.library) == 0) {
    EnterSearching(controls_.play);
    return false;
  }
  if (state_ != ReceiverState::kBound) return false;
  if (streaming_) {
    ports_.library.SetCommand(selected_, kCommandSetStop, u"");
    return false;
  }
  const bool accepted = StartPlaying();
  failure_ = accepted ? u"" : u"The receiver did not start playing";
  PostHint();
  return accepted;
}

bool ReceiverModel::StartPlaying() {
  StreamingLibrary& library = ports_.library;
  auto info = std::make_unique<ReceiverInfo>();
  library.GetDeviceInfo(selected_, info.get());
  const std::u16string code = FieldText(info->CapabilityCode);
  const uint8_t digit = CapabilityDigit(code);

  PlayChoice choice{};
  if (code != kPlainCapabilityCode) {
    if (digit & 1) choice.use_h264 = library.ExistH264Encoder() != 0;
    choice.second_bit = (digit & 2) != 0;
  }
  choice.extended_screen = library.GetExtensionScreen() != 0;
  choice.port = library.GetPortNumber();
  choice.video_mode = library.GetVideoMode();
  if (choice.video_mode != 2) library.SetVideoMode(choice.use_h264 ? 3 : 0);
  const std::u16string parameter = BuildPlayParameter(choice);
  library.SetVirtualExtend(0);
  return library.SetCommand(selected_, kCommandSetPlay, parameter.c_str()) == 0;
}

void ReceiverModel::ActivateRow(const ui::CControlUI& row, ui::Point mouse) {
  const auto index = static_cast<int32_t>(row.GetTag());
  if (mouse.x > row.GetPos().right - kWebLinkZoneWidth) {
    OpenWebPage(index);
  } else {
    SelectReceiver(index);
  }
}

void ReceiverModel::OpenWebPage(int32_t index) {
  commands_.Run([this, index] {
    auto info = std::make_unique<ReceiverInfo>();
    {
      std::lock_guard hold(lock_);
      if (library_destroyed_) return;
      ports_.library.GetDeviceInfo(index, info.get());
    }
    // The shell is asked from the UI thread, which has COM set up for it.
    Post([this, address = FieldText(info->WebAddress)] { OpenAddress(address); });
  });
}

void ReceiverModel::OpenAddress(const std::u16string& address) {
  if (!IsBrowsableWebAddress(address)) {
    ports_.debug.Write(u"Quandle: not a web address, nothing opened: " + address + u"\r\n");
    return;
  }
  if (ports_.shell.Execute(u"open", u"iexplore.exe", QuotedParameter(address), kShowShow) >
      kShellFailureLimit) {
    return;
  }
  ports_.shell.Execute(u"open", address, u"", kShowShow);
}

void ReceiverModel::SelectReceiver(int32_t index) {
  commands_.Run([this, index] { RunSelectReceiver(index); });
}

void ReceiverModel::RunSelectReceiver(int32_t index) {
  std::lock_guard hold(lock_);
  if (library_destroyed_ || index == selected_) return;
  const bool stop_refused =
      streaming_ && ports_.library.SetCommand(selected_, kCommandSetStop, u"") != 0;
  if (stop_refused || ports_.library.ServiceInit(index) != 0) {
    failure_ = u"That receiver cannot be chosen now";
    PostHint();
    return;
  }
  streaming_ = false;
  state_ = ReceiverState::kBound;
  selected_ = index;
  EnterBound(controls_.play);
}

void ReceiverModel::OnVideoModeChanged(int32_t value) {
  commands_.Run([this, value] {
    std::lock_guard hold(lock_);
    if (!library_destroyed_) ports_.library.SetVideoMode(value);
  });
}

void ReceiverModel::OnLocalAudioChanged(bool selected) {
  commands_.Run([this, selected] {
    std::lock_guard hold(lock_);
    if (!library_destroyed_) ports_.library.SetLocalAudio(selected ? 1 : 0);
  });
}

void ReceiverModel::OnExtendedScreenChanged(bool selected) {
  commands_.Run([this, selected] {
    std::lock_guard hold(lock_);
    if (!library_destroyed_) ports_.library.SetExtensionScreen(selected ? 1 : 0);
  });
}

void ReceiverModel::DestroyLibrary() {
  // Polls try_lock rather than try_lock_for: the timed lock of the C++ library is a call the
  // thread sanitizer does not see, so it would report every unlock after it as a fault.
  constexpr int kPollMs = 10;
  std::unique_lock hold(lock_, std::defer_lock);
  for (int waited = 0; !hold.try_lock(); waited += kPollMs) {
    if (waited >= kExitWaitMs) {
      ports_.debug.Write(u"Quandle: the library is still busy, exiting without destroying it\r\n");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
  library_destroyed_ = true;
  StopAnimation();
  ports_.library.LibraryDestroy();
}

ReceiverSnapshot ReceiverModel::Snapshot() const {
  std::lock_guard hold(lock_);
  return {state_, selected_, streaming_, known_count_, empty_polls_, animation_ != nullptr};
}

}  // namespace panel
