#include "panel/core/hint_text.h"

namespace panel {

std::u16string HintText(const HintFacts& facts) {
  if (!facts.failure.empty()) return facts.failure;
  if (facts.state == ReceiverState::kBound) {
    if (facts.streaming) return u"Streaming to " + facts.receiver;
    return u"Press play to stream to " + facts.receiver;
  }
  if (facts.receivers_listed > 0) return u"Choose a receiver, then press play";
  return u"Searching for receivers...";
}

std::u16string DisplayModeText(int topology) {
  switch (topology) {
    case 2:
      return u"Display: copy";
    case 4:
      return u"Display: extended";
    case 1:
      return u"Display: main only";
    default:
      return u"";
  }
}

}  // namespace panel
