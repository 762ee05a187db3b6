// The read-back coefficient planes as the entropy coder takes them.
//
// The shader writes each plane as one run of 8 x 8 blocks in raster order, 64 coefficients per
// block in natural order, plane width / 8 blocks per row and plane height / 8 block rows,
// rounded down. When the frame's sides are multiples of 16 that run is exactly what the coder
// needs and is coded from the mapped memory. Otherwise a chroma plane ends in half blocks (4
// columns on the right, 4 rows at the bottom): the shader codes each as its samples mirrored to
// 8, which leaves only even frequencies, and stores those in the room the plane has: after each
// block row's whole blocks, the right half block as 8 rows of 4; after the whole block rows,
// each bottom block as 4 rows of 8 and the corner as 4 rows of 4. The copy puts them back
// into whole blocks, with zero for the odd frequencies.
#pragma once
#include <cstdint>

namespace vexmark::gpu {

struct CoefficientPlaneShape {
  int texture_rows;
  std::uint32_t row_bytes;  // of the tightly packed texture row
  int blocks_per_row;       // whole blocks, as the shader packs them
  int block_rows;
  int coded_blocks_per_row;  // with the half blocks, as the entropy coder needs them
  int coded_block_rows;
};

CoefficientPlaneShape LumaCoefficientShape(int width, int height);
CoefficientPlaneShape ChromaCoefficientShape(int width, int height);

// Copies the mapped rows (stepping by `pitch`) into `block`, which holds at least
// coded_blocks_per_row x coded_block_rows x 64 coefficients, as whole blocks: each coefficient
// is copied once, straight to its place.
void CopyCoefficientPlane(const std::uint8_t* mapped, std::uint32_t pitch,
                          const CoefficientPlaneShape& shape, std::int16_t* block);

}  // namespace vexmark::gpu
