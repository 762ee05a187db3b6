#include "block_coder.h"

#include "quant_tables.h"

namespace ovjpeg {
namespace {

BlockLayout MakeLayout(bool transposed) {
  BlockLayout layout{};
  for (int k = 0; k < 64; ++k) {
    const int natural = kZigzag[k];
    const int position = transposed ? (natural % 8) * 8 + natural / 8 : natural;
    layout.position_of_zigzag[k] = static_cast<std::uint8_t>(position);
    for (int value = 0; value < 256; ++value) {
      if (value & (1 << (position % 8))) {
        layout.zigzag_bits[position / 8][value] |= std::uint64_t{1} << k;
      }
    }
  }
  return layout;
}

}  // namespace

const CategoryTable& Categories() {
  static const CategoryTable table = [] {
    CategoryTable t{};
    for (int value = -2048; value < 2048; ++value) {
      const unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
      const unsigned size = magnitude == 0 ? 0 : 32 - __builtin_clz(magnitude);
      const unsigned bits = (value < 0 ? ~magnitude : magnitude) & ((1u << size) - 1);
      t.entry[value + 2048] = static_cast<std::uint16_t>(bits << 4 | size);
    }
    return t;
  }();
  return table;
}

const BlockLayout& NaturalLayout() {
  static const BlockLayout layout = MakeLayout(false);
  return layout;
}

const BlockLayout& TransposedLayout() {
  static const BlockLayout layout = MakeLayout(true);
  return layout;
}

}  // namespace ovjpeg
