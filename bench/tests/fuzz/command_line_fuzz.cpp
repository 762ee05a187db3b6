// The benchmark's command line with any text: no crash, no read past the text, and the option
// dump always ends the output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bench/core/command_line.h"

namespace {

class Sink : public platform::DebugOutput {
 public:
  void Write(std::string_view text) override { last.assign(text); }
  void Write(std::u16string_view) override {}
  std::string last;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Sink sink;
  vexmark::DebugLog log(sink);
  vexmark::VexmarkOptions options;
  vexmark::vProcessCMDLine(text.c_str(), options, log);
  if (sink.last != "<== vProcessCMDLine\n") std::abort();
  if (options.bTestFreq && options.bTestTime) std::abort();
  if (options.bUseKMDRenderWDDM1_0 && options.bUseKMDRenderWDDM1_1) std::abort();
  return 0;
}
