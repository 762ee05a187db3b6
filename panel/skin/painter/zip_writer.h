// Writes a zip archive of deflated entries, the format the toolkit's resource reader takes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace skin {

class ZipWriter {
 public:
  void Add(const std::string& name, const std::vector<uint8_t>& data);
  // The whole archive: entries, central directory and end record.
  std::vector<uint8_t> Finish() const;

 private:
  struct Entry {
    std::string name;
    uint32_t crc = 0;
    uint32_t compressed_size = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
  };
  std::vector<uint8_t> body_;
  std::vector<Entry> entries_;
};

}  // namespace skin
