// Compresses the same pictures with our encoder and with libjpeg-turbo (quality 80, 4:2:0,
// standard tables, accurate DCT, standard Huffman tables), single-threaded, in one run, and
// prints throughput, their ratio, sizes and PSNR per picture.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ijl_encode.h"
#include "kernels.h"
#include "turbo.h"

namespace ovjpeg::testing {
namespace {

constexpr int kQuality = 80;

// Median of several timed rounds, each long enough to dwarf the clock's resolution.
double MedianSeconds(const std::function<void()>& encode, double megapixels) {
  const int reps = std::max(1, static_cast<int>(20.0 / megapixels));
  std::vector<double> rounds;
  for (int round = 0; round < 7; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) encode();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    rounds.push_back(elapsed.count() / reps);
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

struct Result {
  double mpps;
  std::size_t bytes;
  double psnr;
};

template <class Compressor>
Result Measure(const RgbImage& image) {
  const double megapixels = image.width * static_cast<double>(image.height) / 1e6;
  Compressor compressor(image.width, image.height);
  const double seconds =
      MedianSeconds([&] { compressor.Compress(image, kQuality); }, megapixels);
  const std::vector<std::uint8_t> stream = compressor.Stream();
  const std::optional<RgbImage> decoded = DecodeWithTurbo(stream);
  return {megapixels / seconds, stream.size(), decoded ? Psnr(image, *decoded) : 0.0};
}

void Row(const std::string& name, const RgbImage& image) {
  const Result ours = Measure<IjlCompressor>(image);
  const Result theirs = Measure<TurboCompressor>(image);
  std::printf("%-20s %9.1f %9.1f %7.3f %10zu %10zu %+7.2f%% %7.2f %7.2f\n", name.c_str(),
              ours.mpps, theirs.mpps, ours.mpps / theirs.mpps, ours.bytes, theirs.bytes,
              100.0 * (static_cast<double>(ours.bytes) / theirs.bytes - 1.0), ours.psnr,
              theirs.psnr);
}

}  // namespace
}  // namespace ovjpeg::testing

int main() {
  using namespace ovjpeg::testing;
  std::printf("kernels: %s; quality %d, 4:2:0, single thread\n", ovjpeg::BestKernels().name,
              kQuality);
  std::printf("%-20s %9s %9s %7s %10s %10s %8s %7s %7s\n", "image", "ours MP/s", "turbo MP/s",
              "ratio", "ours B", "turbo B", "size", "PSNR", "PSNR t");
  Row("desktop 1920x1080", MakeDesktop(1920, 1080));
  Row("photo 1920x1080", MakePhoto(1920, 1080));
  Row("desktop 2048x1280", MakeDesktop(2048, 1280));
  Row("photo 2048x1280", MakePhoto(2048, 1280));
  Row("noise 1920x1080", MakeNoise(1920, 1080));
  Row("desktop 17x9", MakeDesktop(17, 9));
  return 0;
}
