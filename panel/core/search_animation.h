// The searching animation on the play button: a thread that shows "tu0.png" to "tu8.png", one
// every 500 ms, until SearchAnimationEvent is signalled. The object's existence is the
// event's: only one animation runs at a time because the model holds at most one.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/sync.h"

namespace panel {

inline constexpr uint32_t kAnimationFrameMs = 500;
inline constexpr int kAnimationFrames = 9;

class SearchAnimation {
 public:
  // Creates the event (auto-reset, not signalled) and starts the thread; show_frame runs on
  // the animation thread with each image name and must not wait for other threads. nullptr
  // when the event or the thread cannot be made.
  static std::unique_ptr<SearchAnimation> Start(
      platform::Sync& sync, std::function<void(std::u16string image)> show_frame);
  // Stop.
  ~SearchAnimation();
  SearchAnimation(const SearchAnimation&) = delete;
  SearchAnimation& operator=(const SearchAnimation&) = delete;

  // Signals the event and returns only after the thread has ended; the event is closed then.
  void Stop();

 private:
  SearchAnimation() = default;
  static void Run(platform::Sync& sync, platform::Event& event,
                  const std::function<void(std::u16string)>& show_frame);

  std::unique_ptr<platform::Event> event_;
  std::unique_ptr<platform::Thread> thread_;
};

}  // namespace panel
