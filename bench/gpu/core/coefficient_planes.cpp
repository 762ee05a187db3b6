#include "bench/gpu/core/coefficient_planes.h"

#include <cstring>

namespace vexmark::gpu {
namespace {

constexpr int kBlockSize = 64;

std::int16_t* BlockAt(std::int16_t* plane, int blocks_per_row, int row, int column) {
  return plane + (static_cast<std::size_t>(row) * blocks_per_row + column) * kBlockSize;
}

// A whole block from the `rows` x `columns` even frequencies of a mirrored half block: entry
// (i, j) of the run is frequency (row_step x i, column_step x j).
void ExpandHalfBlock(const std::int16_t* run, int rows, int columns, int row_step, int column_step,
                     std::int16_t* block) {
  std::memset(block, 0, kBlockSize * sizeof(std::int16_t));
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j)
      block[i * row_step * 8 + j * column_step] = run[i * columns + j];
  }
}

void Rebuild(const std::int16_t* run, const CoefficientPlaneShape& shape, std::int16_t* plane) {
  const int whole = shape.blocks_per_row;
  const int coded = shape.coded_blocks_per_row;
  const bool right_half = coded > whole;
  const bool bottom_half = shape.coded_block_rows > shape.block_rows;
  const std::size_t row_span = static_cast<std::size_t>(whole) * 64 + (right_half ? 32 : 0);
  for (int row = 0; row < shape.block_rows; ++row) {
    const std::int16_t* source = run + row * row_span;
    std::memcpy(BlockAt(plane, coded, row, 0), source,
                static_cast<std::size_t>(whole) * kBlockSize * sizeof(std::int16_t));
    if (right_half) {
      ExpandHalfBlock(source + whole * 64, 8, 4, 1, 2, BlockAt(plane, coded, row, whole));
    }
  }
  if (!bottom_half) return;
  const std::int16_t* strip = run + shape.block_rows * row_span;
  for (int column = 0; column < whole; ++column) {
    ExpandHalfBlock(strip + column * 32, 4, 8, 2, 1,
                    BlockAt(plane, coded, shape.block_rows, column));
  }
  if (right_half) {
    ExpandHalfBlock(strip + whole * 32, 4, 4, 2, 2, BlockAt(plane, coded, shape.block_rows, whole));
  }
}

}  // namespace

CoefficientPlaneShape LumaCoefficientShape(int width, int height) {
  return {height,    static_cast<std::uint32_t>(width) * 2, width / 8, height / 8, width / 8,
          height / 8};
}

CoefficientPlaneShape ChromaCoefficientShape(int width, int height) {
  return {height / 2,        static_cast<std::uint32_t>(width),
          width / 16,        height / 16,
          (width + 15) / 16, (height + 15) / 16};
}

void CopyCoefficientPlane(const std::uint8_t* mapped, std::uint32_t pitch,
                          const CoefficientPlaneShape& shape, std::vector<std::int16_t>& scratch,
                          std::int16_t* block) {
  scratch.resize(static_cast<std::size_t>(shape.texture_rows) * shape.row_bytes / 2);
  auto* out = reinterpret_cast<std::uint8_t*>(scratch.data());
  for (int row = 0; row < shape.texture_rows; ++row) {
    std::memcpy(out + static_cast<std::size_t>(row) * shape.row_bytes,
                mapped + static_cast<std::size_t>(row) * pitch, shape.row_bytes);
  }
  Rebuild(scratch.data(), shape, block);
}

}  // namespace vexmark::gpu
