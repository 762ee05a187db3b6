// Small stand-ins for the removal tool's own ports, recording what the core asks of them.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drvsetup/core/code_page.h"
#include "drvsetup/core/difx.h"
#include "drvsetup/core/message_boxes.h"
#include "drvsetup/core/progress_windows.h"
#include "drvsetup/core/sleeper.h"
#include "drvsetup/core/string_table.h"
#include "platform/files.h"

namespace drvsetup::testing {

// The English string table of the program, or any subset of it.
class FakeStringTable : public StringTable {
 public:
  FakeStringTable();  // every id the program ships
  void Remove(unsigned id) { strings_.erase(id); }
  void Set(unsigned id, std::string text) { strings_[id] = std::move(text); }
  std::optional<std::string> Load(unsigned id, size_t buffer_chars) override;

 private:
  std::map<unsigned, std::string> strings_;
};

struct ShownMessage {
  std::string caption;
  std::string text;
  bool topmost = false;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  void ShowInformation(std::string_view caption, std::string_view text, bool topmost) override {
    shown.push_back({std::string(caption), std::string(text), topmost});
  }
  std::vector<ShownMessage> shown;
};

// Progress window calls, in order, as "range 0 3", "step 1", "stepit", "destroyed".
class FakeProgressWindows : public ProgressWindows {
 public:
  WindowRect DesktopRect() override { return desktop; }
  std::unique_ptr<ProgressBar> Create(const ProgressWindowParams& params) override;

  WindowRect desktop{0, 0, 1280, 1024};
  bool fail = false;
  std::vector<ProgressWindowParams> created;
  std::shared_ptr<std::vector<std::string>> calls = std::make_shared<std::vector<std::string>>();
};

struct DifxState {
  bool loaded = false;
  bool freed = false;
  std::vector<std::string> uninstalled;
  std::vector<uint32_t> flags;
};

class FakeDifxLoader : public DifxLoader {
 public:
  std::unique_ptr<DifxLibrary> Load(std::string_view name) override;

  bool present = true;
  bool has_uninstall = true;
  std::vector<std::string> load_names;
  std::shared_ptr<DifxState> state = std::make_shared<DifxState>();
  // Runs inside each uninstall call, for tests that look at the world at that moment.
  std::function<void(std::string_view)> on_uninstall;
};

class RecordingSleeper : public Sleeper {
 public:
  void Sleep(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  std::vector<uint32_t> sleeps;
};

// Lead bytes as in the common double-byte East Asian code pages.
class DoubleByteCodePage : public CodePage {
 public:
  bool IsLeadByte(uint8_t byte) const override {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
};

// A text file read like fgets, with a count of the chunks handed out.
class StringTextReader : public platform::TextReader {
 public:
  explicit StringTextReader(std::string text) : text_(std::move(text)) {}
  bool ReadChunk(size_t max_chars, std::string* chunk) override;
  int chunks_read = 0;

 private:
  std::string text_;
  size_t position_ = 0;
};

}  // namespace drvsetup::testing
