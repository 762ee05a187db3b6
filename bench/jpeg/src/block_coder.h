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

// The DC code of a block, against the component's previous DC (which it replaces).
struct DcCode {
  std::uint32_t bits;
  int length;
};

OVJPEG_FORCE_INLINE DcCode CodeDc(int dc, ComponentCoder& coder) {
  const std::uint32_t dc_category = Categories()[dc - coder.predictor];
  coder.predictor = dc;
  const std::uint32_t dc_packed = coder.dc->packed[dc_category & 15];
  return {(dc_packed >> 5) | (dc_category >> 4), static_cast<int>(dc_packed & 31)};
}

// A flat block (common on desktops): DC and end-of-block in one go.
OVJPEG_FORCE_INLINE void PutFlatBlock(BitWriter& out, DcCode dc, const HuffmanCodes& ac) {
  out.Put((dc.bits << ac.length[0x00]) | ac.code[0x00], dc.length + ac.length[0x00]);
}

// The AC coefficients in zig-zag order: bit k of `zigzag` is set when the k-th is not zero,
// entry_of(k) gives its category entry. Runs of 16 zeros and the end-of-block as needed.
template <typename EntryOf>
OVJPEG_FORCE_INLINE void PutAcRuns(BitWriter& out, const HuffmanCodes& ac, std::uint64_t zigzag,
                                   EntryOf entry_of) {
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
    EncodeValue(out, ac, run << 4, entry_of(k));
  }
  if (last != 63) out.Put(ac.code[0x00], ac.length[0x00]);
}

// Codes a block whose DC is block[0] and whose non-zero coefficients are flagged in `mask`
// (memory order of `layout`). The writer is worked on as a local copy so its state stays in
// registers: the output bytes could alias it otherwise.
inline void EncodeBlock(BitWriter& writer, const std::int16_t* block, std::uint64_t mask,
                        const BlockLayout& layout, ComponentCoder& coder) {
  const CategoryTable& categories = Categories();
  const HuffmanCodes& ac = *coder.ac;
  BitWriter out = writer;
  const DcCode dc = CodeDc(block[0], coder);
  mask &= ~std::uint64_t{1};
  if (mask == 0) {
    PutFlatBlock(out, dc, ac);
  } else {
    out.Put(dc.bits, dc.length);
    PutAcRuns(out, ac, ToZigzagMask(mask, layout), [&](int k) -> std::uint32_t {
      return categories[block[layout.position_of_zigzag[k]]];
    });
  }
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
  const HuffmanCodes& ac = *coder.ac;
  BitWriter out = writer;
  const DcCode dc_code = CodeDc(dc, coder);
  mask &= ~std::uint64_t{1};
  if (mask == 0) {
    PutFlatBlock(out, dc_code, ac);
  } else {
    out.Put(dc_code.bits, dc_code.length);
    PutAcRuns(out, ac, mask, [entries](int k) -> std::uint32_t { return entries[k]; });
  }
  writer = out;
}

// A block outside the picture: the previous DC again and no AC.
inline void EncodePaddingBlock(BitWriter& out, ComponentCoder& coder) {
  out.Put(coder.dc->code[0], coder.dc->length[0]);
  out.Put(coder.ac->code[0x00], coder.ac->length[0x00]);
}

}  // namespace ovjpeg
