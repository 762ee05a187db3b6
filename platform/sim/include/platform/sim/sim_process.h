// Programs started through the shell, recorded for inspection; each program's behaviour
// (exit code, failure to start, side effects on other sims) is scripted by its file name.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/named_mutex.h"
#include "platform/process.h"

namespace platform::sim {

struct ProcessEvent {
  enum class Kind { kStarted, kWaited, kFailedToStart };
  Kind kind;
  ShellExecuteRequest request;
};

class SimProcessLauncher : public ProcessLauncher {
 public:
  SimProcessLauncher();
  ~SimProcessLauncher() override;

  // Runs when a program of this file name (compared without regard to case, folder ignored)
  // starts; its result is the exit code. Programs without a script exit with 0.
  void Script(std::string_view file, std::function<uint32_t(const ShellExecuteRequest&)> program);
  void FailToStart(std::string_view file, WinError error);

  // Every start, failed start and wait, in order.
  const std::vector<ProcessEvent>& History() const;
  // The requests that started, in order.
  std::vector<ShellExecuteRequest> Started() const;

  std::unique_ptr<ProcessHandle> ShellExecute(const ShellExecuteRequest& request,
                                              WinError* error) override;

  struct Model;

 private:
  std::shared_ptr<Model> model_;
};

class SimNamedMutexes : public NamedMutexes {
 public:
  SimNamedMutexes();
  ~SimNamedMutexes() override;
  // Another process holds this name.
  void HoldElsewhere(std::string_view name);
  void FailCreation(bool fail);
  // Names currently held by handles this object gave out.
  std::vector<std::string> HeldNames() const;

  NamedMutexResult Create(std::string_view name) override;

  struct Model;

 private:
  std::shared_ptr<Model> model_;
};

}  // namespace platform::sim
