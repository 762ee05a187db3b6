// One ordered record of the calls that the simulated ports receive, shared by them so a test
// can check the order of calls across ports.
#pragma once
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace panel::sim {

class CallLog {
 public:
  void Add(std::string call) {
    std::lock_guard hold(lock_);
    calls_.push_back(std::move(call));
  }
  std::vector<std::string> Calls() const {
    std::lock_guard hold(lock_);
    return calls_;
  }
  void Clear() {
    std::lock_guard hold(lock_);
    calls_.clear();
  }

 private:
  mutable std::mutex lock_;
  std::vector<std::string> calls_;
};

// UTF-16 text as the log writes it (ASCII kept, anything else as "?").
std::string LogText(std::u16string_view text);

}  // namespace panel::sim
