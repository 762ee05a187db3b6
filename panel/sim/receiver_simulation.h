// The streaming library's model: receivers that come and go, bind or refuse to, accept or
// refuse commands and report their play state, with the library's settings. Scenario
// operations change it while the control panel runs; every library call is recorded.
// Safe to call from several threads. Calls out of order get defined answers:
// - before LibraryInit, after LibraryDestroy or after a failed LibraryInit: no receivers,
//   ServiceInit and SetCommand answer kNotInitialised, BackgroundTask reports no event;
// - a receiver index out of range: GetDeviceInfo and GetDeviceUniqueName give empty text,
//   ServiceInit and SetCommand answer kNoSuchReceiver, SetSelectDevice is ignored;
// - null records or buffers are left alone; a null command is refused with kBadArgument.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "panel/core/streaming_library.h"

namespace panel::sim {

inline constexpr int32_t kNotInitialised = -1;
inline constexpr int32_t kNoSuchReceiver = -2;
inline constexpr int32_t kBadArgument = -3;
inline constexpr int32_t kRefused = 1;

struct SimReceiver {
  std::u16string name;
  std::u16string web_address;
  std::u16string capability_code = u"1-00-00";
  bool accepts_binding = true;
};

class ReceiverSimulation : public StreamingLibrary {
 public:
  // Scenario.
  void AddReceiver(SimReceiver receiver);
  bool RemoveReceiver(std::u16string_view name);
  void ClearReceivers();
  bool SetAcceptsBinding(std::u16string_view name, bool accepts);
  void SetCommandsAccepted(bool accepted);
  // With it on (the default), an accepted "SetPlay" or "SetStop" is followed by a "varPlay"
  // report of "True" or "False".
  void SetReportsPlayState(bool on);
  void QueueVariable(std::u16string name, std::u16string value);
  void QueueEvent(int32_t code);
  void SetLibraryInitResult(int32_t result);
  void SetH264Present(bool present);
  void SetExtensionScreenOffered(bool offered);
  void SetPort(int32_t port);
  // A misbehaving library: the count it answers whatever receivers it has (nullopt: theirs).
  void SetReportedCount(std::optional<int32_t> count);
  // Settings as the library starts with them (not recorded as calls).
  void PresetVideoMode(int32_t mode);
  void PresetLocalAudio(int32_t on);
  void PresetExtensionScreen(int32_t on);
  // A slow library: each call of the named function takes this long (0: none). The model
  // only keeps the figure; whoever runs the calls waits it out.
  void SetCallDelay(std::string function, int32_t ms);
  int32_t CallDelay(std::string_view function) const;

  // Observation.
  std::vector<std::string> Calls() const;
  void ClearCalls();
  bool IsInitialised() const;
  int32_t SelectedReceiver() const;
  int RediscoveryCount() const;
  std::u16string LastPlayParameter() const;

  // StreamingLibrary.
  int32_t LibraryInit() override;
  void LibraryDestroy() override;
  int32_t ServiceInit(int32_t receiver) override;
  void BackgroundTask(LibraryEvent* event) override;
  int32_t GetDeviceCount() override;
  void GetDeviceInfo(int32_t receiver, ReceiverInfo* info) override;
  void GetDeviceUniqueName(int32_t receiver, char16_t* buffer, int32_t capacity) override;
  void SetSelectDevice(int32_t receiver) override;
  void Rediscovery() override;
  int32_t SetCommand(int32_t receiver, const char16_t* command, const char16_t* parameter) override;
  int32_t GetVideoMode() override;
  void SetVideoMode(int32_t mode) override;
  int32_t GetLocalAudio() override;
  void SetLocalAudio(int32_t on) override;
  int32_t ExistH264Encoder() override;
  int32_t GetPortNumber() override;
  int32_t ExistExtensionScreen() override;
  int32_t GetExtensionScreen() override;
  void SetExtensionScreen(int32_t on) override;
  void SetVirtualExtend(int32_t value) override;

 private:
  struct Report {
    int32_t code;
    std::u16string name;
    std::u16string value;
  };

  void Record(std::string call);
  bool InRange(int32_t receiver) const;

  mutable std::mutex lock_;
  std::vector<SimReceiver> receivers_;
  std::deque<Report> reports_;
  std::u16string current_value_;  // what the last event's Value points at
  std::vector<std::string> calls_;
  bool initialised_ = false;
  int32_t init_result_ = 0;
  bool commands_accepted_ = true;
  bool reports_play_state_ = true;
  int32_t selected_ = -1;
  int rediscoveries_ = 0;
  std::u16string last_play_parameter_;
  int32_t video_mode_ = 1;
  int32_t local_audio_ = 0;
  bool h264_ = false;
  bool extension_offered_ = true;
  int32_t extension_screen_ = 0;
  int32_t port_ = 8554;
  std::optional<int32_t> reported_count_;
  std::map<std::string, int32_t, std::less<>> call_delays_;
};

}  // namespace panel::sim
