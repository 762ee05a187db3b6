// The receiver model's state as both the UI thread and the poll worker see it.
#pragma once
#include <cstdint>

namespace panel {

enum class ReceiverState : int32_t { kIdle = 0, kSearching = 1, kBound = 2 };

// A consistent copy of the shared state, taken under the model lock.
struct ReceiverSnapshot {
  ReceiverState receiver_state = ReceiverState::kIdle;
  int32_t selected_receiver = 0;
  bool is_streaming = false;
  int32_t known_receiver_count = 0;
  int32_t empty_poll_count = 0;
  bool search_animation_running = false;
};

}  // namespace panel
