// Entropy-coded segment output: bits gathered in a 64-bit word that is written 8 bytes at a
// time, with a 0x00 stuffed after every 0xFF byte. Filling the whole word keeps the flush branch
// rare, so it is well predicted.
#pragma once

#include <cstdint>
#include <cstring>

namespace ovjpeg {

class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) {}

  std::uint8_t* position() const { return out_; }
  void set_position(std::uint8_t* out) { out_ = out; }

  // Appends the low `count` bits of `bits` (count <= 32, bits above count are zero).
  void Put(std::uint32_t bits, int count) {
    if (__builtin_expect(count < free_, 1)) {
      acc_ = (acc_ << count) | bits;
      free_ -= count;
      return;
    }
    const int rest = count - free_;
    Emit64((acc_ << free_) | (static_cast<std::uint64_t>(bits) >> rest));
    acc_ = bits;  // only the low `rest` bits are still pending
    free_ = 64 - rest;
  }

  // Pads the last byte with 1 bits and writes what is pending (at most 16 bytes with stuffing).
  void Finish() {
    int pending = 64 - free_;
    const int pad = (8 - pending % 8) % 8;
    const std::uint64_t bits = (acc_ << pad) | ((std::uint64_t{1} << pad) - 1);
    pending += pad;
    while (pending > 0) {
      pending -= 8;
      EmitByte(static_cast<std::uint8_t>(bits >> pending));
    }
    acc_ = 0;
    free_ = 64;
  }

 private:
  void EmitByte(std::uint8_t byte) {
    *out_++ = byte;
    if (byte == 0xFF) *out_++ = 0;
  }

  void Emit64(std::uint64_t word) {
    const std::uint64_t inverted = ~word;
    const std::uint64_t ones = 0x0101010101010101u;
    if (((inverted - ones) & ~inverted & (ones << 7)) == 0) {
      const std::uint64_t big_endian = __builtin_bswap64(word);
      std::memcpy(out_, &big_endian, 8);
      out_ += 8;
      return;
    }
    for (int shift = 56; shift >= 0; shift -= 8) EmitByte(static_cast<std::uint8_t>(word >> shift));
  }

  std::uint8_t* out_;
  std::uint64_t acc_ = 0;
  int free_ = 64;
};

}  // namespace ovjpeg
