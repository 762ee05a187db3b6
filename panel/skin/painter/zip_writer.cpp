#include "zip_writer.h"

#include <zlib.h>

#include <stdexcept>

namespace skin {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::vector<uint8_t> out(deflateBound(&stream, data.size()));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

}  // namespace

void ZipWriter::Add(const std::string& name, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> packed = Deflate(data);
  Entry e;
  e.name = name;
  e.crc = static_cast<uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), data.data(), static_cast<uInt>(data.size())));
  e.compressed_size = static_cast<uint32_t>(packed.size());
  e.size = static_cast<uint32_t>(data.size());
  e.offset = static_cast<uint32_t>(body_.size());
  Put32(body_, 0x04034b50);
  Put16(body_, 20);    // version needed
  Put16(body_, 0);     // flags
  Put16(body_, 8);     // deflated
  Put16(body_, 0);     // time
  Put16(body_, 0x21);  // date: 1980-01-01
  Put32(body_, e.crc);
  Put32(body_, e.compressed_size);
  Put32(body_, e.size);
  Put16(body_, static_cast<uint32_t>(name.size()));
  Put16(body_, 0);
  body_.insert(body_.end(), name.begin(), name.end());
  body_.insert(body_.end(), packed.begin(), packed.end());
  entries_.push_back(e);
}

std::vector<uint8_t> ZipWriter::Finish() const {
  std::vector<uint8_t> out = body_;
  uint32_t directory_offset = static_cast<uint32_t>(out.size());
  for (const Entry& e : entries_) {
    Put32(out, 0x02014b50);
    Put16(out, 20);  // made by
    Put16(out, 20);  // needed
    Put16(out, 0);
    Put16(out, 8);
    Put16(out, 0);
    Put16(out, 0x21);
    Put32(out, e.crc);
    Put32(out, e.compressed_size);
    Put32(out, e.size);
    Put16(out, static_cast<uint32_t>(e.name.size()));
    Put16(out, 0);  // extra
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    Put32(out, 0);  // external attributes
    Put32(out, e.offset);
    out.insert(out.end(), e.name.begin(), e.name.end());
  }
  uint32_t directory_size = static_cast<uint32_t>(out.size()) - directory_offset;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(entries_.size()));
  Put16(out, static_cast<uint32_t>(entries_.size()));
  Put32(out, directory_size);
  Put32(out, directory_offset);
  Put16(out, 0);
  return out;
}

}  // namespace skin
