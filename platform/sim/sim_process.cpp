#include "platform/sim/sim_process.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "platform/sim/file_name_pattern.h"

namespace platform::sim {

namespace {

// The name a program is known by: its file name without the folder, with ".exe" added when
// it has no extension, as the shell finds "netsh" as netsh.exe.
std::string ProgramName(std::string_view file) {
  const size_t slash = file.find_last_of("\\/");
  std::string name(slash == std::string_view::npos ? file : file.substr(slash + 1));
  if (name.find('.') == std::string::npos) name += ".exe";
  return name;
}

}  // namespace

struct SimProcessLauncher::Model {
  struct Program {
    std::string name;
    std::function<uint32_t(const ShellExecuteRequest&)> body;
    std::optional<WinError> start_error;
  };
  std::vector<Program> programs;
  std::vector<ProcessEvent> history;

  Program* Find(std::string_view file) {
    const std::string name = ProgramName(file);
    for (Program& program : programs) {
      if (EqualsIgnoringCase(program.name, name)) return &program;
    }
    return nullptr;
  }
  Program& Entry(std::string_view file) {
    if (Program* found = Find(file)) return *found;
    programs.push_back({ProgramName(file), nullptr, std::nullopt});
    return programs.back();
  }
};

namespace {

// The program has run to its end when it starts (so its effects on other sims are there),
// but, as with a real process, its exit code is only known to be final once it is waited for.
class SimProcessHandle : public ProcessHandle {
 public:
  SimProcessHandle(std::shared_ptr<SimProcessLauncher::Model> model, ShellExecuteRequest request,
                   uint32_t exit_code)
      : model_(std::move(model)), request_(std::move(request)), exit_code_(exit_code) {}

  void Wait() override {
    model_->history.push_back({ProcessEvent::Kind::kWaited, request_});
    waited_ = true;
  }
  std::optional<uint32_t> ExitCode() override {
    if (!waited_) return std::nullopt;
    return exit_code_;
  }

 private:
  std::shared_ptr<SimProcessLauncher::Model> model_;
  ShellExecuteRequest request_;
  uint32_t exit_code_;
  bool waited_ = false;
};

// Without a kept process handle there is nothing to wait on or read.
class DetachedProcessHandle : public ProcessHandle {
 public:
  void Wait() override {}
  std::optional<uint32_t> ExitCode() override { return std::nullopt; }
};

}  // namespace

SimProcessLauncher::SimProcessLauncher() : model_(std::make_shared<Model>()) {}
SimProcessLauncher::~SimProcessLauncher() = default;

void SimProcessLauncher::Script(std::string_view file,
                                std::function<uint32_t(const ShellExecuteRequest&)> program) {
  model_->Entry(file).body = std::move(program);
}

void SimProcessLauncher::FailToStart(std::string_view file, WinError error) {
  model_->Entry(file).start_error = error;
}

const std::vector<ProcessEvent>& SimProcessLauncher::History() const { return model_->history; }

std::vector<ShellExecuteRequest> SimProcessLauncher::Started() const {
  std::vector<ShellExecuteRequest> started;
  for (const ProcessEvent& event : model_->history) {
    if (event.kind == ProcessEvent::Kind::kStarted) started.push_back(event.request);
  }
  return started;
}

std::unique_ptr<ProcessHandle> SimProcessLauncher::ShellExecute(const ShellExecuteRequest& request,
                                                                WinError* error) {
  Model::Program* program = model_->Find(request.file);
  if (program != nullptr && program->start_error) {
    model_->history.push_back({ProcessEvent::Kind::kFailedToStart, request});
    if (error != nullptr) *error = *program->start_error;
    return nullptr;
  }
  model_->history.push_back({ProcessEvent::Kind::kStarted, request});
  // Copied: a script may add scripts of its own while it runs.
  const auto body = program != nullptr ? program->body : nullptr;
  const uint32_t exit_code = body ? body(request) : 0;
  if (error != nullptr) *error = kErrorSuccess;
  if (!request.keep_process) return std::make_unique<DetachedProcessHandle>();
  return std::make_unique<SimProcessHandle>(model_, request, exit_code);
}

struct SimNamedMutexes::Model {
  std::map<std::string, int> open_handles;  // names are case-sensitive, as kernel object names
  std::vector<std::string> held_elsewhere;
  bool fail_creation = false;

  bool Exists(const std::string& name) const {
    return open_handles.count(name) != 0 ||
           std::find(held_elsewhere.begin(), held_elsewhere.end(), name) != held_elsewhere.end();
  }
};

namespace {

// A backslash only ends a namespace prefix, and the prefixes are case-sensitive.
bool IsValidMutexName(std::string_view name) {
  const size_t slash = name.find('\\');
  if (slash == std::string_view::npos) return true;
  const std::string_view prefix = name.substr(0, slash);
  return (prefix == "Global" || prefix == "Local") &&
         name.find('\\', slash + 1) == std::string_view::npos;
}

class SimMutexHandle : public MutexHandle {
 public:
  SimMutexHandle(std::shared_ptr<SimNamedMutexes::Model> model, std::string name)
      : model_(std::move(model)), name_(std::move(name)) {
    if (!name_.empty()) ++model_->open_handles[name_];
  }
  ~SimMutexHandle() override {
    if (name_.empty()) return;
    auto it = model_->open_handles.find(name_);
    if (--it->second == 0) model_->open_handles.erase(it);
  }

 private:
  std::shared_ptr<SimNamedMutexes::Model> model_;
  std::string name_;
};

}  // namespace

SimNamedMutexes::SimNamedMutexes() : model_(std::make_shared<Model>()) {}
SimNamedMutexes::~SimNamedMutexes() = default;

void SimNamedMutexes::HoldElsewhere(std::string_view name) {
  model_->held_elsewhere.emplace_back(name);
}

void SimNamedMutexes::FailCreation(bool fail) { model_->fail_creation = fail; }

std::vector<std::string> SimNamedMutexes::HeldNames() const {
  std::vector<std::string> names;
  for (const auto& [name, count] : model_->open_handles) names.push_back(name);
  return names;
}

NamedMutexResult SimNamedMutexes::Create(std::string_view name) {
  NamedMutexResult result;
  if (model_->fail_creation || !IsValidMutexName(name)) return result;
  // "Local\" names the session's own namespace, where names without a prefix live too.
  const std::string key(name.substr(0, 6) == "Local\\" ? name.substr(6) : name);
  // An empty name makes an unnamed mutex, which never exists already.
  result.kind = !key.empty() && model_->Exists(key) ? NamedMutexResult::Kind::kAlreadyExisted
                                                    : NamedMutexResult::Kind::kCreated;
  result.handle = std::make_unique<SimMutexHandle>(model_, key);
  return result;
}

}  // namespace platform::sim
