#include "gpu_test_frames.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/gpu/core/coefficient_planes.h"
#include "bench/gpu/core/gpu_constants.h"
#include "bench/jpeg/src/kernels.h"
#include "bench/jpeg/src/quant_tables.h"

namespace vexmark::gpu::testing {
namespace {

// One 16 x 16 MCU of packed RGB with the last column and row repeated past the edges.
void GatherMcu(const ovjpeg::testing::RgbImage& image, int mx, int my, std::uint8_t* mcu) {
  for (int y = 0; y < 16; ++y) {
    const int sy = std::min(my * 16 + y, image.height - 1);
    for (int x = 0; x < 16; ++x) {
      const int sx = std::min(mx * 16 + x, image.width - 1);
      std::memcpy(mcu + (y * 16 + x) * 3,
                  image.pixels.data() + (static_cast<std::size_t>(sy) * image.width + sx) * 3, 3);
    }
  }
}

// A transposed-order block (8 x horizontal + vertical) into natural order at `out`.
void PutBlock(const ovjpeg::CodedBlock& block, std::int16_t* out) {
  for (int h = 0; h < 8; ++h) {
    for (int v = 0; v < 8; ++v) out[v * 8 + h] = block.coefficient[h * 8 + v];
  }
}

std::int16_t* BlockOf(CoefficientRun& run, int plane, int row, int column) {
  if (row >= run.block_rows[plane] || column >= run.blocks_per_row[plane]) return nullptr;
  return run.planes[plane].data() +
         (static_cast<std::size_t>(row) * run.blocks_per_row[plane] + column) * 64;
}

}  // namespace

CoefficientRun EmptyRunFor(int width, int height) {
  CoefficientRun run;
  run.blocks_per_row = {width / 8, width / 16, width / 16};
  run.block_rows = {height / 8, height / 16, height / 16};
  for (int p = 0; p < 3; ++p) {
    run.planes[p].assign(static_cast<std::size_t>(run.blocks_per_row[p]) * run.block_rows[p] * 64,
                         0);
  }
  return run;
}

CoefficientRun ReferenceCoefficients(const ovjpeg::testing::RgbImage& image, int quality) {
  CoefficientRun run = EmptyRunFor(image.width, image.height);
  const ovjpeg::Kernels& k = ovjpeg::kScalarKernels;
  const ovjpeg::QuantDivisors luma =
      ovjpeg::MakeDivisors(ovjpeg::ScaleQuantTable(ovjpeg::kLuminanceExample, quality));
  const ovjpeg::QuantDivisors chroma =
      ovjpeg::MakeDivisors(ovjpeg::ScaleQuantTable(ovjpeg::kChrominanceExample, quality));
  std::uint8_t mcu[16 * 16 * 3];
  alignas(32) std::int16_t luma_samples[256];
  alignas(32) std::int16_t chroma_samples[128];
  ovjpeg::CodedBlock blocks[6];
  for (int my = 0; my < (image.height + 15) / 16; ++my) {
    for (int mx = 0; mx < (image.width + 15) / 16; ++mx) {
      GatherMcu(image, mx, my, mcu);
      k.convert_mcu(mcu, 48, luma_samples, chroma_samples);
      k.fdct_quantize_pair(luma_samples, luma, blocks);
      k.fdct_quantize_pair(luma_samples + 128, luma, blocks + 2);
      k.fdct_quantize_pair(chroma_samples, chroma, blocks + 4);
      for (int b = 0; b < 4; ++b) {
        if (std::int16_t* out = BlockOf(run, 0, my * 2 + b / 2, mx * 2 + b % 2)) {
          PutBlock(blocks[b], out);
        }
      }
      for (int p = 1; p < 3; ++p) {
        if (std::int16_t* out = BlockOf(run, p, my, mx)) PutBlock(blocks[3 + p], out);
      }
    }
  }
  return run;
}

std::vector<std::uint8_t> RgbaTexels(const ovjpeg::testing::RgbImage& image) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(image.width) * image.height * 4);
  for (std::size_t i = 0; i < rgba.size() / 4; ++i) {
    std::memcpy(&rgba[i * 4], &image.pixels[i * 3], 3);
    rgba[i * 4 + 3] = 255;
  }
  return rgba;
}

std::map<int, long> DifferenceHistogram(const CoefficientRun& gpu,
                                        const CoefficientRun& reference) {
  std::map<int, long> histogram;
  for (int p = 0; p < 3; ++p) {
    const std::size_t n = std::min(gpu.planes[p].size(), reference.planes[p].size());
    for (std::size_t i = 0; i < n; ++i) ++histogram[gpu.planes[p][i] - reference.planes[p][i]];
    if (gpu.planes[p].size() != reference.planes[p].size()) ++histogram[99999];
  }
  return histogram;
}

std::string HistogramText(const std::map<int, long>& histogram) {
  std::string text;
  for (const auto& [difference, count] : histogram) {
    char entry[48];
    std::snprintf(entry, sizeof(entry), " %d:%ld", difference, count);
    text += entry;
  }
  return text;
}

ObjectId ReadBackCapture::CreateTexture(const TextureDesc& desc) {
  const ObjectId id = inner_.CreateTexture(desc);
  if (id != kNoObject && desc.usage == TextureUsage::kReadBack) {
    read_backs_.push_back({id, desc, {}, {}});
  }
  return id;
}

std::optional<MappedTexture> ReadBackCapture::Map(ObjectId texture, MapAccess access) {
  std::optional<MappedTexture> mapping = inner_.Map(texture, access);
  for (ReadBack& r : read_backs_) {
    if (r.id == texture && mapping) r.mapping = *mapping;
  }
  return mapping;
}

void ReadBackCapture::Unmap(ObjectId texture) {
  for (ReadBack& r : read_backs_) {
    if (r.id != texture || r.mapping.data == nullptr) continue;
    const std::size_t row = static_cast<std::size_t>(r.desc.width) * 8;
    r.rows.resize(row * r.desc.height);
    for (int y = 0; y < r.desc.height; ++y) {
      std::memcpy(r.rows.data() + y * row, r.mapping.data + y * r.mapping.row_pitch, row);
    }
    r.mapping = {};
  }
  inner_.Unmap(texture);
}

CoefficientRun ReadBackCapture::Captured(int width, int height) const {
  CoefficientRun run = EmptyRunFor(width, height);
  if (read_backs_.size() < 3) return run;
  for (int p = 0; p < 3; ++p) {
    const auto* rows =
        reinterpret_cast<const std::int16_t*>(read_backs_[read_backs_.size() - 3 + p].rows.data());
    const CoefficientPlaneShape shape =
        p == 0 ? LumaCoefficientShape(width, height) : ChromaCoefficientShape(width, height);
    // Whole blocks only: a block row ends in the right half block's 32 values when there is one.
    const std::size_t row_span = static_cast<std::size_t>(shape.blocks_per_row) * 64 +
                                 (shape.coded_blocks_per_row > shape.blocks_per_row ? 32 : 0);
    const std::size_t available = read_backs_[read_backs_.size() - 3 + p].rows.size() / 2;
    for (int r = 0; r < shape.block_rows; ++r) {
      const std::size_t count = static_cast<std::size_t>(shape.blocks_per_row) * 64;
      if (r * row_span + count > available) break;
      std::memcpy(run.planes[p].data() + r * count, rows + r * row_span, count * 2);
    }
  }
  return run;
}

}  // namespace vexmark::gpu::testing
