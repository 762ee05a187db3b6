// The debug output under test and what a debugger reading it received: the recorder on Linux,
// OutputDebugString read back through the runner's monitor log under Wine.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/debug_output.h"

namespace platform::testing {

class DebugOutputSubject {
 public:
  virtual ~DebugOutputSubject() = default;
  virtual DebugOutput& Output() = 0;
  // The lines received since the subject was made, in order, as UTF-8, as a debugger shows them:
  // one line end dropped, a text with more line feeds split into lines. Waits (with a generous
  // bound) until at least `count` lines are there, since a reader may lag behind the writer.
  virtual std::vector<std::string> Lines(size_t count) = 0;
};

std::unique_ptr<DebugOutputSubject> MakeDebugOutputSubject();

}  // namespace platform::testing
