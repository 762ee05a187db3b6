// The display-configuration records as user32 hands them to the panel's dump: any buffer sizes,
// any count the query reports back, and path and mode records of any bytes. The dump may
// allocate only what it caps, read only the records filled, and name or skip any value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "panel/core/display_config_topology.h"

namespace {

class Sink : public platform::DebugOutput {
 public:
  void Write(std::string_view) override {}
  void Write(std::u16string_view) override {}
};

// The input: path and mode counts for the buffer sizes (a byte each), a byte of outcomes, the
// counts the query reports back (a byte each), then the records, paths first.
class FuzzedDisplayConfig : public panel::DisplayConfigLibrary {
 public:
  FuzzedDisplayConfig(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Load(std::string_view) override { return true; }
  bool LookUp(std::string_view) override { return true; }
  void Unload() override {}

  int32_t GetDisplayConfigBufferSizes(uint32_t, uint32_t& path_count,
                                      uint32_t& mode_count) override {
    path_count = Count();
    mode_count = Count();
    outcomes_ = Take<uint8_t>();
    return outcomes_ & 1 ? 122 : 0;  // ERROR_INSUFFICIENT_BUFFER
  }
  int32_t QueryDisplayConfig(uint32_t, uint32_t& path_count, panel::DisplayConfigPathInfo* paths,
                             uint32_t& mode_count, panel::DisplayConfigModeInfo* modes) override {
    const uint32_t reported_paths = Count();
    const uint32_t reported_modes = Count();
    // user32 fills at most the capacity it was given, here while the input lasts; the counts
    // it reports are its own, up to two past what it filled (more would only dump zeros).
    const uint32_t filled_paths = Fill(paths, path_count);
    const uint32_t filled_modes = Fill(modes, mode_count);
    path_count = std::min(reported_paths, filled_paths + 2);
    mode_count = std::min(reported_modes, filled_modes + 2);
    return outcomes_ & 2 ? 87 : 0;  // ERROR_INVALID_PARAMETER
  }
  int32_t SetDisplayConfig(uint32_t, panel::DisplayConfigPathInfo*, uint32_t,
                           panel::DisplayConfigModeInfo*, uint32_t) override {
    return static_cast<int32_t>(outcomes_ >> 2);
  }

 private:
  // Mostly a real configuration's few records; now and then a count at or past the dump's cap
  // or at the ends of the type.
  uint32_t Count() {
    static constexpr uint32_t kLarge[] = {1023, 1024, 1025, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const uint8_t code = Take<uint8_t>();
    if (code >= 256 - std::size(kLarge)) return kLarge[code - (256 - std::size(kLarge))];
    return code % 16;
  }
  template <typename Record>
  uint32_t Fill(Record* records, uint32_t capacity) {
    uint32_t filled = 0;
    while (filled < capacity && size_ >= sizeof(Record)) records[filled++] = Take<Record>();
    return filled;
  }
  // The next bytes of the input as a value; zero bytes once the input is spent.
  template <typename T>
  T Take() {
    T value{};
    const size_t n = size_ < sizeof value ? size_ : sizeof value;
    if (n != 0) std::memcpy(static_cast<void*>(&value), data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }

  const uint8_t* data_;
  size_t size_;
  uint8_t outcomes_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDisplayConfig library(data, size);
  Sink sink;
  panel::ApplyTopologyByDisplayConfig(library, sink, 4);
  return 0;
}
