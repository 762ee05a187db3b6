// Compresses the same pictures with our encoder and with libjpeg-turbo (quality 80, 4:2:0,
// standard tables, accurate DCT, standard Huffman tables), single-threaded, in one run, and
// prints throughput, their ratio, sizes and PSNR per picture.
#include <time.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/jpeg/src/kernels.h"
#include "bench/tests/support/ijl_encode.h"
#include "bench/tests/support/turbo.h"

namespace ovjpeg::testing {
namespace {

constexpr int kQuality = 80;

struct Result {
  double mpps;
  std::size_t bytes;
  double psnr;
};

struct Measured {
  Result ours;
  Result theirs;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

Result Summary(const RgbImage& image, double seconds, const std::vector<std::uint8_t>& stream) {
  const double megapixels = image.width * static_cast<double>(image.height) / 1e6;
  const std::optional<RgbImage> decoded = DecodeWithTurbo(stream);
  return {megapixels / seconds, stream.size(), decoded ? Psnr(image, *decoded) : 0.0};
}

// The thread's CPU time, so that time spent descheduled on a busy machine does not count.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// Rounds of both encoders alternate, so cache and memory contention from other work hits both
// alike; each round is long enough to dwarf the clock's resolution, and the median round counts.
Measured Measure(const RgbImage& image) {
  const double megapixels = image.width * static_cast<double>(image.height) / 1e6;
  const int reps = std::max(1, static_cast<int>(10.0 / megapixels));
  IjlCompressor ours(image.width, image.height);
  TurboCompressor theirs(image.width, image.height);
  auto time = [&](auto& compressor) {
    const double start = ThreadSeconds();
    for (int i = 0; i < reps; ++i) compressor.Compress(image, kQuality);
    return (ThreadSeconds() - start) / reps;
  };
  std::vector<double> our_rounds, their_rounds;
  for (int round = 0; round < 9; ++round) {
    our_rounds.push_back(time(ours));
    their_rounds.push_back(time(theirs));
  }
  return {Summary(image, Median(our_rounds), ours.Stream()),
          Summary(image, Median(their_rounds), theirs.Stream())};
}

void Row(const std::string& name, const RgbImage& image) {
  const Measured m = Measure(image);
  std::printf("%-20s %9.1f %10.1f %7.3f %10zu %10zu %+7.2f%% %7.2f %7.2f\n", name.c_str(),
              m.ours.mpps, m.theirs.mpps, m.ours.mpps / m.theirs.mpps, m.ours.bytes, m.theirs.bytes,
              100.0 * (static_cast<double>(m.ours.bytes) / m.theirs.bytes - 1.0), m.ours.psnr,
              m.theirs.psnr);
}

}  // namespace
}  // namespace ovjpeg::testing

int main() {
  using namespace ovjpeg::testing;
  std::printf("kernels: %s; quality %d, 4:2:0, single thread, thread CPU time\n",
              ovjpeg::BestKernels().name, kQuality);
  std::printf("%-20s %9s %10s %7s %10s %10s %8s %7s %7s\n", "image", "ours MP/s", "turbo MP/s",
              "ratio", "ours B", "turbo B", "size", "PSNR", "PSNR t");
  Row("desktop 1920x1080", MakeDesktop(1920, 1080));
  Row("photo 1920x1080", MakePhoto(1920, 1080));
  Row("desktop 2048x1280", MakeDesktop(2048, 1280));
  Row("photo 2048x1280", MakePhoto(2048, 1280));
  Row("noise 1920x1080", MakeNoise(1920, 1080));
  Row("desktop 17x9", MakeDesktop(17, 9));
  return 0;
}
