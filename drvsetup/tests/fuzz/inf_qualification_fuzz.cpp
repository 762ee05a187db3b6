// Any byte string as an INF file, read through the chunked reader for every kind, with and
// without required strings (an empty one included).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "drvsetup/core/inf_kinds.h"
#include "drvsetup/core/inf_qualification.h"
#include "platform/files.h"

namespace {

class BytesReader : public platform::TextReader {
 public:
  BytesReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool ReadChunk(size_t max_chars, std::string* chunk) override {
    if (position_ >= size_) return false;
    size_t end = position_;
    while (end < size_ && end - position_ < max_chars) {
      if (data_[end++] == '\n') break;
    }
    chunk->assign(reinterpret_cast<const char*>(data_) + position_, end - position_);
    position_ = end;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const drvsetup::InfKind& kind : {drvsetup::kInfVfbdd, drvsetup::kInfVqmdd,
                                        drvsetup::kInfUsbNetwork, drvsetup::kInfVirtualAudio}) {
    BytesReader plain(data, size);
    drvsetup::InfTextQualifies(plain, kind, {});
    BytesReader required(data, size);
    drvsetup::InfTextQualifies(required, kind, {std::string(kind.hardware_id), ""});
  }
  return 0;
}
