// Huffman coding of one 8 x 8 block of quantised coefficients. The caller supplies a bit mask
// of the non-zero coefficients in the block's memory order; a remapping table turns it into
// zig-zag order so that only non-zero coefficients are visited.
#pragma once

#include <cstdint>

#include "bit_writer.h"
#include "coded_block.h"
#include "force_inline.h"
#include "huffman_tables.h"

namespace ovjpeg {

// How a block's coefficients are laid out in memory.
struct BlockLayout {
  std::uint8_t position_of_zigzag[64];  // memory index of the k-th zig-zag coefficient
  std::uint64_t zigzag_bits[8][256];    // byte b of a memory-order mask -> zig-zag-order bits
};

// Natural (row-major) order and the transposed order of the forward transform's output.
const BlockLayout& NaturalLayout();
const BlockLayout& TransposedLayout();

// Worst case of one block: 22 DC bits and 63 x 26 AC bits, every byte stuffed.
inline constexpr int kMaxBlockBytes = 2 * (22 + 63 * 26 + 7) / 8;

struct ComponentCoder {
  const HuffmanCodes* dc;
  const HuffmanCodes* ac;
  int predictor = 0;
};

OVJPEG_FORCE_INLINE std::uint64_t ToZigzagMask(std::uint64_t mask, const BlockLayout& layout) {
  const auto& t = layout.zigzag_bits;
  return (t[0][mask & 0xFF] | t[1][(mask >> 8) & 0xFF]) |
         (t[2][(mask >> 16) & 0xFF] | t[3][(mask >> 24) & 0xFF]) |
         (t[4][(mask >> 32) & 0xFF] | t[5][(mask >> 40) & 0xFF]) |
         (t[6][(mask >> 48) & 0xFF] | t[7][mask >> 56]);
}

// Category (bit count of the magnitude) and category bits (the magnitude, or its complement for
// a negative value, cut to that many bits) of every value in -2048..2047: bits << 4 | size.
// Every coefficient the coders see lies in that range: the transform's output is bounded by
// 8-bit input, and outside coefficients are clamped first.
struct CategoryTable {
  std::uint16_t entry[4096];
  std::uint32_t operator[](int value) const { return entry[value + 2048]; }
};
const CategoryTable& Categories();

OVJPEG_FORCE_INLINE void EncodeValue(BitWriter& out, const HuffmanCodes& codes, int run_shifted,
                                     std::uint32_t category) {
  const std::uint32_t packed =
      codes.packed[static_cast<std::uint32_t>(run_shifted) | (category & 15)];
  out.Put((packed >> 5) | (category >> 4), static_cast<int>(packed & 31));
}

// Codes a block whose DC is block[0] and whose non-zero coefficients are flagged in `mask`
// (memory order of `layout`). The writer is worked on as a local copy so its state stays in
// registers: the output bytes could alias it otherwise.
inline void EncodeBlock(BitWriter& writer, const std::int16_t* block, std::uint64_t mask,
                        const BlockLayout& layout, ComponentCoder& coder) {
  const CategoryTable& categories = Categories();
  const HuffmanCodes& ac = *coder.ac;
  BitWriter out = writer;
  const int dc = block[0];
  const std::uint32_t dc_category = categories[dc - coder.predictor];
  coder.predictor = dc;
  const std::uint32_t dc_packed = coder.dc->packed[dc_category & 15];
  const std::uint32_t dc_bits = (dc_packed >> 5) | (dc_category >> 4);
  const int dc_length = static_cast<int>(dc_packed & 31);
  mask &= ~std::uint64_t{1};
  if (mask == 0) {  // flat block (common on desktops): DC and end-of-block in one go
    out.Put((dc_bits << ac.length[0x00]) | ac.code[0x00], dc_length + ac.length[0x00]);
    writer = out;
    return;
  }
  out.Put(dc_bits, dc_length);

  std::uint64_t zigzag = ToZigzagMask(mask, layout);
  int last = 0;
  while (zigzag != 0) {
    const int k = __builtin_ctzll(zigzag);
    zigzag &= zigzag - 1;
    int run = k - last - 1;
    last = k;
    while (run >= 16) {
      out.Put(ac.code[0xF0], ac.length[0xF0]);
      run -= 16;
    }
    const int value = block[layout.position_of_zigzag[k]];
    EncodeValue(out, ac, run << 4, categories[value]);
  }
  if (last != 63) out.Put(ac.code[0x00], ac.length[0x00]);
  writer = out;
}

inline void EncodeBlock(BitWriter& writer, const CodedBlock& block, const BlockLayout& layout,
                        ComponentCoder& coder) {
  EncodeBlock(writer, block.coefficient, block.mask, layout, coder);
}

// The same from a block already in zig-zag order (Kernels::zigzag_entries): entries[k] is the
// category entry of the k-th coefficient, bit k of `mask` is set when it is not zero.
inline void EncodeZigzagBlock(BitWriter& writer, int dc, const std::uint16_t* entries,
                              std::uint64_t mask, ComponentCoder& coder) {
  const CategoryTable& categories = Categories();
  const HuffmanCodes& ac = *coder.ac;
  BitWriter out = writer;
  const std::uint32_t dc_category = categories[dc - coder.predictor];
  coder.predictor = dc;
  const std::uint32_t dc_packed = coder.dc->packed[dc_category & 15];
  const std::uint32_t dc_bits = (dc_packed >> 5) | (dc_category >> 4);
  const int dc_length = static_cast<int>(dc_packed & 31);
  mask &= ~std::uint64_t{1};
  if (mask == 0) {
    out.Put((dc_bits << ac.length[0x00]) | ac.code[0x00], dc_length + ac.length[0x00]);
    writer = out;
    return;
  }
  out.Put(dc_bits, dc_length);
  int last = 0;
  while (mask != 0) {
    const int k = __builtin_ctzll(mask);
    mask &= mask - 1;
    int run = k - last - 1;
    last = k;
    while (run >= 16) {
      out.Put(ac.code[0xF0], ac.length[0xF0]);
      run -= 16;
    }
    EncodeValue(out, ac, run << 4, entries[k]);
  }
  if (last != 63) out.Put(ac.code[0x00], ac.length[0x00]);
  writer = out;
}

// A block outside the picture: the previous DC again and no AC.
inline void EncodePaddingBlock(BitWriter& out, ComponentCoder& coder) {
  out.Put(coder.dc->code[0], coder.dc->length[0]);
  out.Put(coder.ac->code[0x00], coder.ac->length[0x00]);
}

}  // namespace ovjpeg
