// Bounded output of the entropy-coded scan. While the caller's buffer has room for a worst-case
// MCU the bits go straight into it; near the end each MCU is coded into a scratch area first and
// copied only if it fits, so nothing is ever written past the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bit_writer.h"
#include "block_coder.h"

namespace ovjpeg {

// Six blocks plus what the bit writer may still hold.
inline constexpr std::ptrdiff_t kMaxMcuBytes = 6 * kMaxBlockBytes + 16;

class ScanWriter {
 public:
  ScanWriter(std::uint8_t* begin, std::uint8_t* end) : bits_(begin), end_(end) {}

  BitWriter& bits() { return bits_; }

  void BeginMcu() {
    if (end_ - bits_.position() >= kMaxMcuBytes) return;
    target_ = bits_.position();
    bits_.set_position(scratch_);
  }

  // False when the MCU did not fit.
  bool EndMcu() {
    if (target_ == nullptr) return true;
    const std::ptrdiff_t size = bits_.position() - scratch_;
    if (size > end_ - target_) return false;
    std::memcpy(target_, scratch_, static_cast<std::size_t>(size));
    bits_.set_position(target_ + size);
    target_ = nullptr;
    return true;
  }

  // Flushes the last bits; false when they do not fit.
  bool Finish() {
    BeginMcu();
    bits_.Finish();
    return EndMcu();
  }

  std::uint8_t* position() const { return bits_.position(); }

 private:
  BitWriter bits_;
  std::uint8_t* end_;
  std::uint8_t* target_ = nullptr;
  std::uint8_t scratch_[kMaxMcuBytes];
};

}  // namespace ovjpeg
