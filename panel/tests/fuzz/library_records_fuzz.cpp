// The streaming library's records as the panel reads them: receiver counts, each receiver's
// name, web address and capability code, the unique name, the event reports and the settings,
// all from the input. Fields may lack a terminator and counts may be anything; the model must
// read only inside each record and keep its list to what it can show.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "panel/core/receiver_model.h"
#include "panel/sim/call_log.h"
#include "panel/sim/sim_frame_host.h"
#include "panel/sim/sim_process_host.h"
#include "panel/sim/virtual_threads.h"
#include "platform/sim/sim_debug_output.h"
#include "ui/dialog_builder.h"
#include "ui/sim/sim_ui_host.h"
#include "ui/skin_resources.h"
#include "ui/window_messages.h"

namespace {

// Every answer and every record field is the next bytes of the input; zero once it is spent.
class FuzzedLibrary : public panel::StreamingLibrary {
 public:
  FuzzedLibrary(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Spent() const { return size_ == 0; }

  int32_t LibraryInit() override { return 0; }
  void LibraryDestroy() override {}
  int32_t ServiceInit(int32_t) override { return Take<uint8_t>() & 1; }
  void BackgroundTask(panel::LibraryEvent* event) override {
    const uint8_t kind = Take<uint8_t>();
    event->Code = kind % 4 == 0   ? panel::kEventVariable
                  : kind % 4 == 1 ? panel::kEventSearchAgain
                                  : Take<int32_t>();
    Fill(event->Name);
    // The value lives in the library's storage until the next call, terminated.
    value_.assign(Take<uint8_t>() % 8, u'\0');
    for (char16_t& c : value_) c = Take<char16_t>();
    event->Value = kind & 4 ? nullptr : value_.c_str();
  }
  // Mostly a network's few receivers; now and then the list's limit, past it, or an end of the
  // type, which each make a poll build a full list.
  int32_t GetDeviceCount() override {
    static constexpr int32_t kLarge[] = {64, 65, 100000, INT32_MAX, -1, INT32_MIN};
    const uint8_t code = Take<uint8_t>();
    if (code >= 256 - std::size(kLarge)) return kLarge[code - (256 - std::size(kLarge))];
    return code % 8;
  }
  void GetDeviceInfo(int32_t, panel::ReceiverInfo* info) override {
    Fill(info->DisplayName);
    Fill(info->WebAddress);
    Fill(info->CapabilityCode);
  }
  void GetDeviceUniqueName(int32_t, char16_t* buffer, int32_t capacity) override {
    // Terminated within capacity, as the library promises.
    int32_t length = capacity > 0 ? Take<uint8_t>() % capacity : 0;
    for (int32_t i = 0; i < length; ++i) buffer[i] = Take<char16_t>();
    if (capacity > 0) buffer[length] = 0;
  }
  void SetSelectDevice(int32_t) override {}
  void Rediscovery() override {}
  int32_t SetCommand(int32_t, const char16_t*, const char16_t*) override { return Take<int8_t>(); }
  int32_t GetVideoMode() override { return Take<int8_t>(); }
  void SetVideoMode(int32_t) override {}
  int32_t GetLocalAudio() override { return Take<int8_t>(); }
  void SetLocalAudio(int32_t) override {}
  int32_t ExistH264Encoder() override { return Take<int8_t>(); }
  int32_t GetPortNumber() override { return Take<int32_t>(); }
  int32_t ExistExtensionScreen() override { return Take<int8_t>(); }
  int32_t GetExtensionScreen() override { return Take<int8_t>(); }
  void SetExtensionScreen(int32_t) override {}
  void SetVirtualExtend(int32_t) override {}

 private:
  template <typename T>
  T Take() {
    T value{};
    const size_t n = size_ < sizeof value ? size_ : sizeof value;
    if (n != 0) std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }
  // A length byte, then that many characters (up to the whole field, unterminated).
  template <size_t N>
  void Fill(char16_t (&field)[N]) {
    const size_t length = Take<uint8_t>() * N / 255;
    for (size_t i = 0; i < length; ++i) field[i] = Take<char16_t>();
  }

  const uint8_t* data_;
  size_t size_;
  std::u16string value_;
};

constexpr std::string_view kWindow =
    R"(<VerticalLayout><List name="domainlist"/><Button name="play"/></VerticalLayout>)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedLibrary library(data, size);
  panel::sim::CallLog log;
  panel::sim::VirtualThreads threads;
  threads.FailThreadStarts(1 << 30);  // no animation thread: each input stays cheap
  panel::sim::SimWindowTimers timers(log);
  panel::sim::SimShellOpen shell(log);
  platform::sim::RecordingDebugOutput debug;
  ui::sim::SimWindowPort window({0, 0, 400, 300});
  ui::sim::MemoryResourceFiles files;
  ui::sim::PngHeaderDecoder decoder;
  ui::SkinResources resources(files);
  ui::CPaintManagerUI manager;
  manager.Init(window, resources, decoder);
  ui::CDialogBuilder builder;
  if (!manager.AttachDialog(builder.CreateFromText(kWindow, manager))) return 0;
  auto* play = dynamic_cast<ui::CButtonUI*>(manager.FindControl(u"play"));
  auto* list = dynamic_cast<ui::CListUI*>(manager.FindControl(u"domainlist"));
  intptr_t result = 0;
  auto apply_queued = [&] { manager.MessageHandler(ui::kInvokeMessage, 0, 0, result); };

  panel::ReceiverModel model({library, threads, timers, shell, debug, manager}, [] {});
  model.BindControls({play, nullptr, nullptr, nullptr, nullptr, nullptr});
  model.ShowLibrarySettings();
  for (int poll = 0; poll < 4 && !library.Spent(); ++poll) {
    model.PollWorker({list, play});
    apply_queued();
    model.TogglePlay();
    apply_queued();
  }
  manager.UpdateLayout();
  for (int row = 0; row < list->GetCount() && row < 4; ++row) {
    const ui::CControlUI& item = *list->GetItemAt(row);
    model.ActivateRow(item, {item.GetPos().right - 1, item.GetPos().top});
    model.ActivateRow(item, {item.GetPos().left, item.GetPos().top});
  }
  model.DestroyLibrary();
  apply_queued();
  return 0;
}
