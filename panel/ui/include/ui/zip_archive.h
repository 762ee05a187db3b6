// A zip archive in memory: the central directory is checked against the data before any
// entry is read; entries are stored or deflated (inflated with zlib) and CRC-checked.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class ZipArchive {
 public:
  struct Entry {
    std::string name;
    uint16_t method = 0;
    uint32_t crc32 = 0;
    uint32_t compressed_size = 0;
    uint32_t size = 0;
    uint32_t local_header_offset = 0;
  };

  // nullopt with *error set when the bytes are not a readable archive.
  static std::optional<ZipArchive> Open(std::vector<uint8_t> bytes, std::string* error);

  const std::vector<Entry>& Entries() const { return entries_; }
  // The entry's contents; names compare exactly, "/" separated. nullopt with *error set when
  // it is missing or damaged.
  std::optional<std::vector<uint8_t>> Read(std::string_view name, std::string* error) const;

  // Entries larger than this are refused rather than inflated.
  static constexpr uint32_t kMaxEntrySize = 64u << 20;

 private:
  std::vector<uint8_t> bytes_;
  std::vector<Entry> entries_;
};

}  // namespace ui
