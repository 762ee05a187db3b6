// The per-MCU computing stages, one set per instruction set. Every set computes exactly the
// same integers as the scalar reference, so the encoded stream does not depend on the CPU.
#pragma once

#include <cstddef>
#include <cstdint>

#include "coded_block.h"
#include "quant_tables.h"

namespace ovjpeg {

enum class Isa { kScalar, kSse2, kAvx2, kAvx512 };

struct Kernels {
  Isa isa;
  const char* name;

  // Colour conversion and 2 x 2 downsampling of one 16 x 16 MCU of packed RGB (`stride` bytes
  // between rows). Writes luma as 16 rows of 16 values and chroma as 8 rows of 8 Cb values
  // followed by 8 Cr values; samples are centred on 0 and carry 4 fraction bits.
  void (*convert_mcu)(const std::uint8_t* rgb, std::ptrdiff_t stride, std::int16_t* luma,
                      std::int16_t* chroma);
  // The same from 4-byte pixels in blue, green, red, unused order (a 32-bit DIB's layout);
  // equal to convert_mcu on the same colours.
  void (*convert_mcu_bgrx)(const std::uint8_t* bgrx, std::ptrdiff_t stride, std::int16_t* luma,
                           std::int16_t* chroma);

  // Forward DCT and quantisation of the two 8 x 8 blocks side by side in 8 rows of 16 samples,
  // into out[0] (left) and out[1] (right).
  void (*fdct_quantize_pair)(const std::int16_t* samples, const QuantDivisors& divisors,
                             CodedBlock* out);

  // Non-zero mask of a natural-order coefficient block; false when a coefficient lies outside
  // the baseline range (DC -1024..1023, AC -1023..1023).
  bool (*coefficient_mask)(const std::int16_t* block, std::uint64_t* mask);

  // A block as the forward transform leaves it (transposed order) put in zig-zag order as the
  // Huffman coder takes it: each coefficient's category entry (CategoryTable's form) and the
  // non-zero mask, bit k for the k-th coefficient. Null in sets that leave this to the coder's
  // tables; where present it equals ZigzagEntriesReference.
  void (*zigzag_entries)(const std::int16_t* block, std::uint16_t* entries, std::uint64_t* mask);
};

void ZigzagEntriesReference(const std::int16_t* block, std::uint16_t* entries, std::uint64_t* mask);

extern const Kernels kScalarKernels;
extern const Kernels kSse2Kernels;
extern const Kernels kAvx2Kernels;

// AVX-512 (F and BW) zig-zag entries; the rest of that set is the AVX2 one.
void ZigzagEntriesAvx512(const std::int16_t* block, std::uint16_t* entries, std::uint64_t* mask);

// The set for `isa`, or nullptr when this CPU (or this build) cannot run it.
const Kernels* KernelsFor(Isa isa);
// The fastest set this CPU runs.
const Kernels& BestKernels();

}  // namespace ovjpeg
