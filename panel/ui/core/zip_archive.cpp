#include "ui/zip_archive.h"

#include <zlib.h>

#include <limits>

namespace ui {
namespace {

constexpr uint32_t kEndOfDirectorySignature = 0x06054b50;
constexpr uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr size_t kEndOfDirectorySize = 22;
constexpr size_t kDirectoryEntrySize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kFlagEncrypted = 1;

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// True when [offset, offset + length) lies inside a buffer of size bytes.
bool Inside(size_t size, uint64_t offset, uint64_t length) {
  return offset <= size && length <= size - offset;
}

bool Inflate(const uint8_t* data, uint32_t size, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = size;
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&stream, Z_FINISH);
  bool complete = status == Z_STREAM_END && stream.total_out == out.size();
  inflateEnd(&stream);
  return complete;
}

}  // namespace

std::optional<ZipArchive> ZipArchive::Open(std::vector<uint8_t> bytes, std::string* error) {
  if (bytes.size() < kEndOfDirectorySize) {
    *error = "too short to be a zip archive";
    return std::nullopt;
  }
  // The end record sits at the end, followed only by a comment of up to 65535 bytes.
  size_t end = std::string::npos;
  size_t lowest =
      bytes.size() > kEndOfDirectorySize + 0xFFFF ? bytes.size() - kEndOfDirectorySize - 0xFFFF : 0;
  for (size_t at = bytes.size() - kEndOfDirectorySize + 1; at-- > lowest;) {
    if (Read32(bytes, at) == kEndOfDirectorySignature &&
        at + kEndOfDirectorySize + Read16(bytes, at + 20) == bytes.size()) {
      end = at;
      break;
    }
  }
  if (end == std::string::npos) {
    *error = "no end of central directory record";
    return std::nullopt;
  }
  if (Read16(bytes, end + 4) != 0 || Read16(bytes, end + 6) != 0) {
    *error = "archives in several parts are not read";
    return std::nullopt;
  }
  uint16_t count = Read16(bytes, end + 10);
  uint32_t directory_size = Read32(bytes, end + 12);
  uint32_t directory_offset = Read32(bytes, end + 16);
  if (!Inside(end, directory_offset, directory_size)) {
    *error = "central directory outside the archive";
    return std::nullopt;
  }
  ZipArchive archive;
  size_t at = directory_offset;
  size_t directory_end = directory_offset + size_t{directory_size};
  for (uint16_t i = 0; i < count; ++i) {
    if (!Inside(directory_end, at, kDirectoryEntrySize) ||
        Read32(bytes, at) != kDirectoryEntrySignature) {
      *error = "damaged central directory entry " + std::to_string(i);
      return std::nullopt;
    }
    Entry entry;
    uint16_t flags = Read16(bytes, at + 8);
    entry.method = Read16(bytes, at + 10);
    entry.crc32 = Read32(bytes, at + 16);
    entry.compressed_size = Read32(bytes, at + 20);
    entry.size = Read32(bytes, at + 24);
    uint16_t name_length = Read16(bytes, at + 28);
    uint16_t extra_length = Read16(bytes, at + 30);
    uint16_t comment_length = Read16(bytes, at + 32);
    entry.local_header_offset = Read32(bytes, at + 42);
    size_t variable = size_t{name_length} + extra_length + comment_length;
    if (!Inside(directory_end, at + kDirectoryEntrySize, variable)) {
      *error = "damaged central directory entry " + std::to_string(i);
      return std::nullopt;
    }
    entry.name.assign(reinterpret_cast<const char*>(&bytes[at + kDirectoryEntrySize]), name_length);
    if ((flags & kFlagEncrypted) != 0) entry.method = std::numeric_limits<uint16_t>::max();
    archive.entries_.push_back(std::move(entry));
    at += kDirectoryEntrySize + variable;
  }
  archive.bytes_ = std::move(bytes);
  return archive;
}

std::optional<std::vector<uint8_t>> ZipArchive::Read(std::string_view name,
                                                     std::string* error) const {
  const Entry* entry = nullptr;
  for (const Entry& e : entries_) {
    if (e.name == name) {
      entry = &e;
      break;
    }
  }
  std::string what(name);
  if (entry == nullptr) {
    *error = what + ": not in the archive";
    return std::nullopt;
  }
  if (entry->method != kMethodStored && entry->method != kMethodDeflated) {
    *error = what + ": unsupported compression or encryption";
    return std::nullopt;
  }
  if (entry->size > kMaxEntrySize) {
    *error = what + ": too large";
    return std::nullopt;
  }
  size_t header = entry->local_header_offset;
  if (!Inside(bytes_.size(), header, kLocalHeaderSize) ||
      Read32(bytes_, header) != kLocalHeaderSignature) {
    *error = what + ": damaged local header";
    return std::nullopt;
  }
  uint64_t data = header + kLocalHeaderSize + uint64_t{Read16(bytes_, header + 26)} +
                  Read16(bytes_, header + 28);
  if (!Inside(bytes_.size(), data, entry->compressed_size)) {
    *error = what + ": data outside the archive";
    return std::nullopt;
  }
  std::vector<uint8_t> out(entry->size);
  const uint8_t* source = bytes_.data() + data;
  if (entry->method == kMethodStored) {
    if (entry->compressed_size != entry->size) {
      *error = what + ": stored sizes disagree";
      return std::nullopt;
    }
    std::copy(source, source + entry->size, out.begin());
  } else if (!Inflate(source, entry->compressed_size, out)) {
    *error = what + ": damaged compressed data";
    return std::nullopt;
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data(), static_cast<uInt>(out.size()));
  if (crc != entry->crc32) {
    *error = what + ": checksum mismatch";
    return std::nullopt;
  }
  return out;
}

}  // namespace ui
