// What each stage of our encoder costs per 1920 x 1080 frame, per kernel set, beside whole
// encodes by us and by libjpeg-turbo. Rates are in pixels per second of the frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/jpeg/src/block_coder.h"
#include "bench/jpeg/src/encoder.h"
#include "bench/jpeg/src/kernels.h"
#include "bench/tests/support/ijl_encode.h"
#include "bench/tests/support/turbo.h"

namespace ovjpeg::testing {
namespace {

constexpr int kWidth = 1920, kHeight = 1088;  // whole MCUs, so every stage sees the same MCUs
constexpr int kQuality = 80;
constexpr int kMcus = (kWidth / 16) * (kHeight / 16);

const RgbImage& Picture(int kind) {
  static const RgbImage desktop = MakeDesktop(kWidth, kHeight);
  static const RgbImage photo = MakePhoto(kWidth, kHeight);
  return kind == 0 ? desktop : photo;
}

const Kernels* KernelsOrSkip(benchmark::State& state) {
  const Kernels* kernels = KernelsFor(static_cast<Isa>(state.range(0)));
  if (kernels == nullptr) state.SkipWithError("this CPU lacks the instruction set");
  return kernels;
}

void SetRate(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.SetLabel(state.range(1) == 0 ? "desktop" : "photo");
}

// Samples of every MCU: 256 luma then 128 chroma values.
std::vector<std::int16_t> Samples(const RgbImage& image, const Kernels& kernels) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(kMcus) * 384);
  std::int16_t* out = samples.data();
  for (int y = 0; y < kHeight; y += 16) {
    for (int x = 0; x < kWidth; x += 16, out += 384) {
      kernels.convert_mcu(&image.pixels[(static_cast<std::size_t>(y) * kWidth + x) * 3], kWidth * 3,
                          out, out + 256);
    }
  }
  return samples;
}

// Six blocks per MCU.
std::vector<CodedBlock> Quantise(const std::vector<std::int16_t>& samples, const Kernels& kernels) {
  const QuantDivisors luma = MakeDivisors(ScaleQuantTable(kLuminanceExample, kQuality));
  const QuantDivisors chroma = MakeDivisors(ScaleQuantTable(kChrominanceExample, kQuality));
  std::vector<CodedBlock> blocks(static_cast<std::size_t>(kMcus) * 6);
  for (int m = 0; m < kMcus; ++m) {
    const std::int16_t* in = &samples[m * 384];
    CodedBlock* out = &blocks[m * 6];
    kernels.fdct_quantize_pair(in, luma, out);
    kernels.fdct_quantize_pair(in + 128, luma, out + 2);
    kernels.fdct_quantize_pair(in + 256, chroma, out + 4);
  }
  return blocks;
}

void BM_ColourConversion(benchmark::State& state) {
  const Kernels* kernels = KernelsOrSkip(state);
  if (kernels == nullptr) return;
  const RgbImage& image = Picture(static_cast<int>(state.range(1)));
  alignas(32) std::int16_t luma[256], chroma[128];
  for (auto _ : state) {
    for (int y = 0; y < kHeight; y += 16) {
      for (int x = 0; x < kWidth; x += 16) {
        kernels->convert_mcu(&image.pixels[(static_cast<std::size_t>(y) * kWidth + x) * 3],
                             kWidth * 3, luma, chroma);
        benchmark::DoNotOptimize(luma);
        benchmark::DoNotOptimize(chroma);
      }
    }
  }
  SetRate(state);
}

void BM_FdctQuantize(benchmark::State& state) {
  const Kernels* kernels = KernelsOrSkip(state);
  if (kernels == nullptr) return;
  const std::vector<std::int16_t> samples =
      Samples(Picture(static_cast<int>(state.range(1))), *kernels);
  const QuantDivisors luma = MakeDivisors(ScaleQuantTable(kLuminanceExample, kQuality));
  const QuantDivisors chroma = MakeDivisors(ScaleQuantTable(kChrominanceExample, kQuality));
  CodedBlock out[6];
  for (auto _ : state) {
    for (int m = 0; m < kMcus; ++m) {
      const std::int16_t* in = &samples[m * 384];
      kernels->fdct_quantize_pair(in, luma, out);
      kernels->fdct_quantize_pair(in + 128, luma, out + 2);
      kernels->fdct_quantize_pair(in + 256, chroma, out + 4);
      benchmark::DoNotOptimize(out);
    }
  }
  SetRate(state);
}

void BM_HuffmanCoding(benchmark::State& state) {
  const std::vector<CodedBlock> blocks =
      Quantise(Samples(Picture(static_cast<int>(state.range(1))), kScalarKernels), kScalarKernels);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 3);
  const StandardCodes& codes = StandardHuffmanCodes();
  const BlockLayout& layout = TransposedLayout();
  for (auto _ : state) {
    BitWriter bits(out.data());
    ComponentCoder components[3] = {{&codes.luma_dc, &codes.luma_ac},
                                    {&codes.chroma_dc, &codes.chroma_ac},
                                    {&codes.chroma_dc, &codes.chroma_ac}};
    for (int m = 0; m < kMcus; ++m) {
      for (int b = 0; b < 6; ++b) {
        EncodeBlock(bits, blocks[m * 6 + b], layout, components[b < 4 ? 0 : b - 3]);
      }
    }
    bits.Finish();
    benchmark::DoNotOptimize(out.data());
  }
  SetRate(state);
}

void BM_WholeEncode(benchmark::State& state) {
  const Kernels* kernels = KernelsOrSkip(state);
  if (kernels == nullptr) return;
  const RgbImage& image = Picture(static_cast<int>(state.range(1)));
  std::vector<std::uint8_t> out(image.pixels.size());
  const QuantTables tables{ScaleQuantTable(kLuminanceExample, kQuality),
                           ScaleQuantTable(kChrominanceExample, kQuality)};
  const RgbPicture picture{image.pixels.data(), kWidth * 3, kWidth, kHeight};
  for (auto _ : state) {
    Output output{out.data(), out.size(), 0};
    EncodeRgb(picture, tables, *kernels, output);
    benchmark::DoNotOptimize(output.size);
  }
  SetRate(state);
}

void BM_TurboEncode(benchmark::State& state) {
  const RgbImage& image = Picture(static_cast<int>(state.range(1)));
  TurboCompressor turbo(kWidth, kHeight);
  for (auto _ : state) benchmark::DoNotOptimize(turbo.Compress(image, kQuality));
  SetRate(state);
}

void BM_CoefficientEncode(benchmark::State& state) {
  const Kernels* kernels = KernelsOrSkip(state);
  if (kernels == nullptr) return;
  // Natural-order planes as the GPU path hands them over.
  const std::vector<CodedBlock> blocks =
      Quantise(Samples(Picture(static_cast<int>(state.range(1))), kScalarKernels), kScalarKernels);
  std::vector<std::int16_t> planes[3];
  planes[0].resize(static_cast<std::size_t>(kMcus) * 256);
  planes[1].resize(static_cast<std::size_t>(kMcus) * 64);
  planes[2].resize(static_cast<std::size_t>(kMcus) * 64);
  const int mcu_columns = kWidth / 16;
  for (int m = 0; m < kMcus; ++m) {
    for (int b = 0; b < 6; ++b) {
      std::int16_t* dst;
      if (b < 4) {
        const int bx = 2 * (m % mcu_columns) + b % 2, by = 2 * (m / mcu_columns) + b / 2;
        dst = &planes[0][(static_cast<std::size_t>(by) * 2 * mcu_columns + bx) * 64];
      } else {
        dst = &planes[b - 3][static_cast<std::size_t>(m) * 64];
      }
      for (int i = 0; i < 64; ++i) dst[(i % 8) * 8 + i / 8] = blocks[m * 6 + b].coefficient[i];
    }
  }
  const CoefficientPlanes input{{planes[0].data(), planes[1].data(), planes[2].data()},
                                {2 * mcu_columns, mcu_columns, mcu_columns},
                                {kHeight / 8, kHeight / 16, kHeight / 16},
                                kWidth,
                                kHeight};
  const QuantTables tables{ScaleQuantTable(kLuminanceExample, kQuality),
                           ScaleQuantTable(kChrominanceExample, kQuality)};
  std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (auto _ : state) {
    Output output{out.data(), out.size(), 0};
    EncodeCoefficients(input, tables, *kernels, output);
    benchmark::DoNotOptimize(output.size);
  }
  SetRate(state);
}

void KernelArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"isa", "photo"});
  for (int isa : {0, 1, 2}) {
    for (int picture : {0, 1}) b->Args({isa, picture});
  }
  b->Unit(benchmark::kMillisecond);
}

void PictureArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"isa", "photo"});
  b->Args({0, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ColourConversion)->Apply(KernelArgs);
BENCHMARK(BM_FdctQuantize)->Apply(KernelArgs);
BENCHMARK(BM_HuffmanCoding)->Apply(PictureArgs);
BENCHMARK(BM_WholeEncode)->Apply(KernelArgs);
BENCHMARK(BM_TurboEncode)->Apply(PictureArgs);
BENCHMARK(BM_CoefficientEncode)->Apply(KernelArgs);

}  // namespace
}  // namespace ovjpeg::testing
