#include "jfif_writer.h"

#include "huffman_tables.h"

namespace ovjpeg {
namespace {

class SegmentWriter {
 public:
  explicit SegmentWriter(std::uint8_t* out) : start_(out), out_(out) {}
  void Byte(int value) { *out_++ = static_cast<std::uint8_t>(value); }
  void Word(int value) {
    Byte(value >> 8);
    Byte(value & 0xFF);
  }
  void Marker(int code) {
    Byte(0xFF);
    Byte(code);
  }
  std::size_t size() const { return static_cast<std::size_t>(out_ - start_); }

 private:
  std::uint8_t* start_;
  std::uint8_t* out_;
};

void WriteJfif(SegmentWriter& w) {
  w.Marker(0xE0);
  w.Word(16);
  for (char ch : {'J', 'F', 'I', 'F', '\0'}) w.Byte(ch);
  w.Word(0x0101);  // version 1.01
  w.Byte(0);       // no units: pixel aspect ratio only
  w.Word(1);
  w.Word(1);
  w.Byte(0);  // no thumbnail
  w.Byte(0);
}

void WriteQuantTable(SegmentWriter& w, int id, const QuantTable& table) {
  w.Byte(id);  // 8-bit precision
  for (int k = 0; k < 64; ++k) w.Byte(table[kZigzag[k]]);
}

void WriteHuffmanTable(SegmentWriter& w, int id, const HuffmanSpec& table) {
  w.Byte(id);
  for (std::uint8_t count : table.counts) w.Byte(count);
  for (int i = 0; i < table.value_count; ++i) w.Byte(table.values[i]);
}

void WriteFrame(SegmentWriter& w, int width, int height) {
  w.Marker(0xC0);
  w.Word(8 + 3 * 3);
  w.Byte(8);
  w.Word(height);
  w.Word(width);
  w.Byte(3);
  w.Byte(1), w.Byte(0x22), w.Byte(0);  // Y: 2 x 2 sampling, table 0
  w.Byte(2), w.Byte(0x11), w.Byte(1);  // Cb
  w.Byte(3), w.Byte(0x11), w.Byte(1);  // Cr
}

void WriteScan(SegmentWriter& w) {
  w.Marker(0xDA);
  w.Word(6 + 2 * 3);
  w.Byte(3);
  w.Byte(1), w.Byte(0x00);
  w.Byte(2), w.Byte(0x11);
  w.Byte(3), w.Byte(0x11);
  w.Byte(0);  // spectral selection 0..63
  w.Byte(63);
  w.Byte(0);  // no successive approximation
}

}  // namespace

std::size_t WriteHeaders(std::uint8_t* out, int width, int height, const QuantTable& luma,
                         const QuantTable& chroma) {
  SegmentWriter w(out);
  w.Marker(0xD8);
  WriteJfif(w);
  w.Marker(0xDB);
  w.Word(2 + 2 * 65);
  WriteQuantTable(w, 0, luma);
  WriteQuantTable(w, 1, chroma);
  WriteFrame(w, width, height);
  w.Marker(0xC4);
  w.Word(2 + 4 * 17 + 2 * 12 + 2 * 162);
  WriteHuffmanTable(w, 0x00, kLuminanceDc);
  WriteHuffmanTable(w, 0x10, kLuminanceAc);
  WriteHuffmanTable(w, 0x01, kChrominanceDc);
  WriteHuffmanTable(w, 0x11, kChrominanceAc);
  WriteScan(w);
  return w.size();
}

std::size_t WriteTrailer(std::uint8_t* out) {
  out[0] = 0xFF;
  out[1] = 0xD9;
  return kTrailerBytes;
}

}  // namespace ovjpeg
