#include "panel/sim/receiver_simulation.h"

#include <algorithm>
#include <cstring>

#include "panel/sim/call_log.h"

namespace panel::sim {
namespace {

// Copies text into a fixed field, cut to fit, always terminated.
template <size_t N>
void CopyField(char16_t (&field)[N], std::u16string_view text) {
  size_t n = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), n, field);
  field[n] = u'\0';
}

std::u16string_view Terminated(const char16_t* text) {
  if (text == nullptr) return {};
  size_t n = 0;
  while (text[n] != u'\0') ++n;
  return {text, n};
}

}  // namespace

void ReceiverSimulation::Record(std::string call) { calls_.push_back(std::move(call)); }

bool ReceiverSimulation::InRange(int32_t receiver) const {
  return receiver >= 0 && static_cast<size_t>(receiver) < receivers_.size();
}

void ReceiverSimulation::AddReceiver(SimReceiver receiver) {
  std::lock_guard hold(lock_);
  receivers_.push_back(std::move(receiver));
}

bool ReceiverSimulation::RemoveReceiver(std::u16string_view name) {
  std::lock_guard hold(lock_);
  auto it = std::find_if(receivers_.begin(), receivers_.end(),
                         [&](const SimReceiver& r) { return r.name == name; });
  if (it == receivers_.end()) return false;
  receivers_.erase(it);
  return true;
}

void ReceiverSimulation::ClearReceivers() {
  std::lock_guard hold(lock_);
  receivers_.clear();
}

bool ReceiverSimulation::SetAcceptsBinding(std::u16string_view name, bool accepts) {
  std::lock_guard hold(lock_);
  for (SimReceiver& r : receivers_) {
    if (r.name == name) {
      r.accepts_binding = accepts;
      return true;
    }
  }
  return false;
}

void ReceiverSimulation::SetCommandsAccepted(bool accepted) {
  std::lock_guard hold(lock_);
  commands_accepted_ = accepted;
}

void ReceiverSimulation::SetReportsPlayState(bool on) {
  std::lock_guard hold(lock_);
  reports_play_state_ = on;
}

void ReceiverSimulation::QueueVariable(std::u16string name, std::u16string value) {
  std::lock_guard hold(lock_);
  reports_.push_back({kEventVariable, std::move(name), std::move(value)});
}

void ReceiverSimulation::QueueEvent(int32_t code) {
  std::lock_guard hold(lock_);
  reports_.push_back({code, {}, {}});
}

void ReceiverSimulation::SetLibraryInitResult(int32_t result) {
  std::lock_guard hold(lock_);
  init_result_ = result;
}

void ReceiverSimulation::SetH264Present(bool present) {
  std::lock_guard hold(lock_);
  h264_ = present;
}

void ReceiverSimulation::SetExtensionScreenOffered(bool offered) {
  std::lock_guard hold(lock_);
  extension_offered_ = offered;
}

void ReceiverSimulation::SetPort(int32_t port) {
  std::lock_guard hold(lock_);
  port_ = port;
}

void ReceiverSimulation::SetReportedCount(std::optional<int32_t> count) {
  std::lock_guard hold(lock_);
  reported_count_ = count;
}

void ReceiverSimulation::PresetVideoMode(int32_t mode) {
  std::lock_guard hold(lock_);
  video_mode_ = mode;
}

void ReceiverSimulation::PresetLocalAudio(int32_t on) {
  std::lock_guard hold(lock_);
  local_audio_ = on;
}

void ReceiverSimulation::PresetExtensionScreen(int32_t on) {
  std::lock_guard hold(lock_);
  extension_screen_ = on;
}

std::vector<std::string> ReceiverSimulation::Calls() const {
  std::lock_guard hold(lock_);
  return calls_;
}

void ReceiverSimulation::ClearCalls() {
  std::lock_guard hold(lock_);
  calls_.clear();
}

bool ReceiverSimulation::IsInitialised() const {
  std::lock_guard hold(lock_);
  return initialised_;
}

int32_t ReceiverSimulation::SelectedReceiver() const {
  std::lock_guard hold(lock_);
  return selected_;
}

int ReceiverSimulation::RediscoveryCount() const {
  std::lock_guard hold(lock_);
  return rediscoveries_;
}

std::u16string ReceiverSimulation::LastPlayParameter() const {
  std::lock_guard hold(lock_);
  return last_play_parameter_;
}

int32_t ReceiverSimulation::LibraryInit() {
  std::lock_guard hold(lock_);
  Record("LibraryInit");
  initialised_ = init_result_ == 0;
  return init_result_;
}

void ReceiverSimulation::LibraryDestroy() {
  std::lock_guard hold(lock_);
  Record("LibraryDestroy");
  initialised_ = false;
  selected_ = -1;
  reports_.clear();
}

int32_t ReceiverSimulation::ServiceInit(int32_t receiver) {
  std::lock_guard hold(lock_);
  Record("ServiceInit(" + std::to_string(receiver) + ")");
  if (!initialised_) return kNotInitialised;
  if (!InRange(receiver)) return kNoSuchReceiver;
  return receivers_[static_cast<size_t>(receiver)].accepts_binding ? 0 : kRefused;
}

void ReceiverSimulation::BackgroundTask(LibraryEvent* event) {
  std::lock_guard hold(lock_);
  Record("BackgroundTask");
  if (event == nullptr) return;
  std::memset(static_cast<void*>(event), 0, sizeof(*event));
  current_value_.clear();
  event->Value = current_value_.c_str();
  if (!initialised_ || reports_.empty()) return;
  Report report = std::move(reports_.front());
  reports_.pop_front();
  event->Code = report.code;
  CopyField(event->Name, report.name);
  current_value_ = std::move(report.value);
  event->Value = current_value_.c_str();
}

int32_t ReceiverSimulation::GetDeviceCount() {
  std::lock_guard hold(lock_);
  Record("GetDeviceCount");
  if (!initialised_) return 0;
  return reported_count_.value_or(static_cast<int32_t>(receivers_.size()));
}

void ReceiverSimulation::SetCallDelay(std::string function, int32_t ms) {
  std::lock_guard hold(lock_);
  call_delays_[std::move(function)] = ms;
}

int32_t ReceiverSimulation::CallDelay(std::string_view function) const {
  std::lock_guard hold(lock_);
  auto it = call_delays_.find(function);
  return it == call_delays_.end() ? 0 : it->second;
}

void ReceiverSimulation::GetDeviceInfo(int32_t receiver, ReceiverInfo* info) {
  std::lock_guard hold(lock_);
  Record("GetDeviceInfo(" + std::to_string(receiver) + ")");
  if (info == nullptr) return;
  std::memset(static_cast<void*>(info), 0, sizeof(*info));
  if (!initialised_ || !InRange(receiver)) return;
  const SimReceiver& r = receivers_[static_cast<size_t>(receiver)];
  CopyField(info->DisplayName, r.name);
  CopyField(info->WebAddress, r.web_address);
  CopyField(info->CapabilityCode, r.capability_code);
}

void ReceiverSimulation::GetDeviceUniqueName(int32_t receiver, char16_t* buffer, int32_t capacity) {
  std::lock_guard hold(lock_);
  Record("GetDeviceUniqueName(" + std::to_string(receiver) + "," + std::to_string(capacity) + ")");
  if (buffer == nullptr || capacity <= 0) return;
  std::u16string unique;
  if (initialised_ && InRange(receiver)) {
    unique = u"uuid:" + receivers_[static_cast<size_t>(receiver)].name;
  }
  size_t n = std::min(unique.size(), static_cast<size_t>(capacity) - 1);
  std::copy_n(unique.begin(), n, buffer);
  buffer[n] = u'\0';
}

void ReceiverSimulation::SetSelectDevice(int32_t receiver) {
  std::lock_guard hold(lock_);
  Record("SetSelectDevice(" + std::to_string(receiver) + ")");
  if (initialised_ && InRange(receiver)) selected_ = receiver;
}

void ReceiverSimulation::Rediscovery() {
  std::lock_guard hold(lock_);
  Record("Rediscovery");
  ++rediscoveries_;
}

int32_t ReceiverSimulation::SetCommand(int32_t receiver, const char16_t* command,
                                       const char16_t* parameter) {
  std::lock_guard hold(lock_);
  std::u16string_view name = Terminated(command);
  std::u16string_view value = Terminated(parameter);
  Record("SetCommand(" + std::to_string(receiver) + "," + LogText(name) + "," + LogText(value) +
         ")");
  if (command == nullptr) return kBadArgument;
  if (!initialised_) return kNotInitialised;
  if (!InRange(receiver)) return kNoSuchReceiver;
  bool play = name == kCommandSetPlay;
  if ((!play && name != kCommandSetStop) || !commands_accepted_) return kRefused;
  if (play) last_play_parameter_ = value;
  if (reports_play_state_) {
    reports_.push_back({kEventVariable, kVariablePlay, play ? u"True" : u"False"});
  }
  return 0;
}

int32_t ReceiverSimulation::GetVideoMode() {
  std::lock_guard hold(lock_);
  Record("GetVideoMode");
  return video_mode_;
}

void ReceiverSimulation::SetVideoMode(int32_t mode) {
  std::lock_guard hold(lock_);
  Record("SetVideoMode(" + std::to_string(mode) + ")");
  video_mode_ = mode;
}

int32_t ReceiverSimulation::GetLocalAudio() {
  std::lock_guard hold(lock_);
  Record("GetLocalAudio");
  return local_audio_;
}

void ReceiverSimulation::SetLocalAudio(int32_t on) {
  std::lock_guard hold(lock_);
  Record("SetLocalAudio(" + std::to_string(on) + ")");
  local_audio_ = on;
}

int32_t ReceiverSimulation::ExistH264Encoder() {
  std::lock_guard hold(lock_);
  Record("ExistH264Encoder");
  return h264_ ? 1 : 0;
}

int32_t ReceiverSimulation::GetPortNumber() {
  std::lock_guard hold(lock_);
  Record("GetPortNumber");
  return port_;
}

int32_t ReceiverSimulation::ExistExtensionScreen() {
  std::lock_guard hold(lock_);
  Record("ExistExtensionScreen");
  return extension_offered_ ? 1 : 0;
}

int32_t ReceiverSimulation::GetExtensionScreen() {
  std::lock_guard hold(lock_);
  Record("GetExtensionScreen");
  return extension_screen_;
}

void ReceiverSimulation::SetExtensionScreen(int32_t on) {
  std::lock_guard hold(lock_);
  Record("SetExtensionScreen(" + std::to_string(on) + ")");
  extension_screen_ = on;
}

void ReceiverSimulation::SetVirtualExtend(int32_t value) {
  std::lock_guard hold(lock_);
  Record("SetVirtualExtend(" + std::to_string(value) + ")");
}

}  // namespace panel::sim
