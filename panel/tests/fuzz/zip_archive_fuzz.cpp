// A damaged resource archive: opening it and reading every entry it lists must fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  auto archive = ui::ZipArchive::Open(std::vector<uint8_t>(data, data + size), &error);
  if (!archive) return 0;
  for (const auto& entry : archive->Entries()) archive->Read(entry.name, &error);
  return 0;
}
