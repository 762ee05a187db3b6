#include "bench/gpu/core/coefficient_planes.h"

#include <algorithm>
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

// The plane's run of coefficients as the mapped rows hold it, `pitch` bytes apart.
class MappedRun {
 public:
  MappedRun(const std::uint8_t* mapped, std::uint32_t pitch, std::uint32_t row_bytes)
      : mapped_(mapped), pitch_(pitch), row_bytes_(row_bytes) {}

  // Copies count coefficients from run index first; a stretch may cross texture rows.
  void Copy(std::size_t first, std::size_t count, std::int16_t* out) const {
    std::size_t offset = first * sizeof(std::int16_t);
    std::size_t left = count * sizeof(std::int16_t);
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    while (left > 0) {
      const std::size_t column = offset % row_bytes_;
      const std::size_t n = std::min<std::size_t>(left, row_bytes_ - column);
      std::memcpy(bytes, mapped_ + offset / row_bytes_ * pitch_ + column, n);
      bytes += n;
      offset += n;
      left -= n;
    }
  }

 private:
  const std::uint8_t* mapped_;
  std::uint32_t pitch_;
  std::uint32_t row_bytes_;
};

void ExpandHalfBlockAt(const MappedRun& run, std::size_t first, int rows, int columns, int row_step,
                       int column_step, std::int16_t* block) {
  std::int16_t half[32];
  run.Copy(first, static_cast<std::size_t>(rows) * columns, half);
  ExpandHalfBlock(half, rows, columns, row_step, column_step, block);
}

void Rebuild(const MappedRun& run, const CoefficientPlaneShape& shape, std::int16_t* plane) {
  const int whole = shape.blocks_per_row;
  const int coded = shape.coded_blocks_per_row;
  const bool right_half = coded > whole;
  const bool bottom_half = shape.coded_block_rows > shape.block_rows;
  const std::size_t row_span = static_cast<std::size_t>(whole) * 64 + (right_half ? 32 : 0);
  for (int row = 0; row < shape.block_rows; ++row) {
    const std::size_t source = row * row_span;
    run.Copy(source, static_cast<std::size_t>(whole) * kBlockSize, BlockAt(plane, coded, row, 0));
    if (right_half) {
      ExpandHalfBlockAt(run, source + whole * 64, 8, 4, 1, 2, BlockAt(plane, coded, row, whole));
    }
  }
  if (!bottom_half) return;
  const std::size_t strip = shape.block_rows * row_span;
  for (int column = 0; column < whole; ++column) {
    ExpandHalfBlockAt(run, strip + column * 32, 4, 8, 2, 1,
                      BlockAt(plane, coded, shape.block_rows, column));
  }
  if (right_half) {
    ExpandHalfBlockAt(run, strip + whole * 32, 4, 4, 2, 2,
                      BlockAt(plane, coded, shape.block_rows, whole));
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
                          const CoefficientPlaneShape& shape, std::int16_t* block) {
  Rebuild(MappedRun(mapped, pitch, shape.row_bytes), shape, block);
}

}  // namespace vexmark::gpu
