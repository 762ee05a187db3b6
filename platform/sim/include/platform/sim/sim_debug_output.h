// Debug output recorded for tests, and the host's writer to standard error.
#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/debug_output.h"

namespace platform::sim {

class RecordingDebugOutput : public DebugOutput {
 public:
  void Write(std::string_view text) override;
  void Write(std::u16string_view text) override;
  // Every line in order, wide ones converted to UTF-8.
  std::vector<std::string> Lines() const;
  void Clear();

 private:
  mutable std::mutex mutex_;  // threaded programs write lines at the same time
  std::vector<std::string> lines_;
};

class StderrDebugOutput : public DebugOutput {
 public:
  void Write(std::string_view text) override;
  void Write(std::u16string_view text) override;
};

}  // namespace platform::sim
