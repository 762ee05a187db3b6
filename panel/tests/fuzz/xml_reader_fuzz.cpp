// Skin XML from a damaged or hostile archive: the reader must refuse it without reading out
// of bounds or running away.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  ui::ReadXml(std::string_view(reinterpret_cast<const char*>(data), size), &error);
  return 0;
}
