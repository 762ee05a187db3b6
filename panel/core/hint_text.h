// The line under the play button: what the panel is doing and what the user can do next.
#pragma once
#include <cstdint>
#include <string>

#include "panel/core/receiver_state.h"

namespace panel {

struct HintFacts {
  ReceiverState state = ReceiverState::kIdle;
  bool streaming = false;
  int32_t receivers_listed = 0;
  std::u16string receiver;  // the bound receiver's name
  std::u16string failure;   // the last command's failure, until the state moves on
};

std::u16string HintText(const HintFacts& facts);

// The second line: the display topology last chosen (2 copy, 4 extend, 1 main only); empty
// for any other value.
std::u16string DisplayModeText(int topology);

}  // namespace panel
