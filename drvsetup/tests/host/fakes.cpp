#include "host/fakes.h"

#include <functional>

#include "drvsetup/core/string_ids.h"

namespace drvsetup::testing {

namespace {

class FakeProgressBar : public ProgressBar {
 public:
  explicit FakeProgressBar(std::shared_ptr<std::vector<std::string>> calls)
      : calls_(std::move(calls)) {}
  ~FakeProgressBar() override { calls_->push_back("destroyed"); }
  void SetRange(int low, int high) override {
    calls_->push_back("range " + std::to_string(low) + " " + std::to_string(high));
  }
  void SetStep(int step) override { calls_->push_back("step " + std::to_string(step)); }
  void StepIt() override { calls_->push_back("stepit"); }

 private:
  std::shared_ptr<std::vector<std::string>> calls_;
};

class FakeDifxLibrary : public DifxLibrary {
 public:
  FakeDifxLibrary(std::shared_ptr<DifxState> state, bool has_uninstall,
                  std::function<void(std::string_view)> on_uninstall)
      : state_(std::move(state)), has_uninstall_(has_uninstall), on_uninstall_(on_uninstall) {}
  ~FakeDifxLibrary() override { state_->freed = true; }
  bool HasUninstall() const override { return has_uninstall_; }
  uint32_t Uninstall(std::string_view inf_path, uint32_t flags) override {
    if (on_uninstall_) on_uninstall_(inf_path);
    state_->uninstalled.emplace_back(inf_path);
    state_->flags.push_back(flags);
    return 0;
  }

 private:
  std::shared_ptr<DifxState> state_;
  bool has_uninstall_;
  std::function<void(std::string_view)> on_uninstall_;
};

}  // namespace

FakeStringTable::FakeStringTable()
    : strings_{{109, "Removed"},
               {110, "Removed on reboot"},
               {111, "Remove failed"},
               {kIdsUsageArguments, " [Arguments]\n"},
               {kIdsUsageHeading, "Arguments:"},
               {kIdsUsageHelp, "Show this help."},
               {kIdsUsageQuiet, "Don't show complete dialog."},
               {kIdsUninstallCompleted, "The un-installation is completed."},
               {kIdsUnsupportedPlatform, "Unsupported platform!"},
               {kIdsRunX64Uninstall, "Please execute x64 version uninstall program."},
               {kIdsRemovingDriver, "Removing driver...Wait please..."}} {}

std::optional<std::string> FakeStringTable::Load(unsigned id, size_t buffer_chars) {
  const auto found = strings_.find(id);
  if (found == strings_.end()) return std::nullopt;
  return found->second.substr(0, buffer_chars - 1);
}

std::unique_ptr<ProgressBar> FakeProgressWindows::Create(const ProgressWindowParams& params) {
  created.push_back(params);
  if (fail) return nullptr;
  calls->push_back("created");
  return std::make_unique<FakeProgressBar>(calls);
}

std::unique_ptr<DifxLibrary> FakeDifxLoader::Load(std::string_view name) {
  load_names.emplace_back(name);
  if (!present) return nullptr;
  state->loaded = true;
  return std::make_unique<FakeDifxLibrary>(state, has_uninstall, on_uninstall);
}

bool StringTextReader::ReadChunk(size_t max_chars, std::string* chunk) {
  if (position_ >= text_.size()) return false;
  size_t end = position_;
  while (end < text_.size() && end - position_ < max_chars) {
    if (text_[end++] == '\n') break;
  }
  chunk->assign(text_, position_, end - position_);
  position_ = end;
  ++chunks_read;
  return true;
}

}  // namespace drvsetup::testing
