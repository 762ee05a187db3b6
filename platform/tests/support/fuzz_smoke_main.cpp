// Drives a fuzz entry point without libFuzzer: every file named on the command line (files
// inside a named folder too), then a fixed, seeded set of random and structured inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

void RunGenerated() {
  std::mt19937 random(20261208);
  const char alphabet[] = " -/0123456789OoSs?*@'\"\\\t\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ{}";
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> input(random() % 600);
    const bool text_like = round % 2 == 0;
    for (auto& byte : input) {
      byte = text_like ? static_cast<uint8_t>(alphabet[random() % (sizeof(alphabet) - 1)])
                       : static_cast<uint8_t>(random());
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) RunFile(entry.path());
    } else {
      RunFile(path);
    }
  }
  RunGenerated();
  std::puts("fuzz smoke: done");
  return 0;
}
