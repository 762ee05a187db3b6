// The benchmark's JPEG library: a baseline sequential (JFIF) encoder with the calling shape
// init / write whole image / free on one properties record.
//
// Three inputs are coded, all as YCbCr with 2 x 2 chroma subsampling (IJL_411):
//
// * Packed RGB (DIBChannels 3, DIBColor IJL_RGB): DIBBytes holds DIBHeight rows, top row first,
//   of DIBWidth pixels of 3 bytes (red, green, blue), each row followed by DIBPadBytes unused
//   bytes. Any size from 1 x 1 up to 65535 x 65535. The quantisation tables are the JPEG
//   standard's example tables (or the external ones, see below) scaled by jquality; they are
//   made once and kept while the quality and tables stay the same.
//
// * 32-bit pixels (DIBChannels 4, DIBColor IJL_BGR): the same with pixels of 4 bytes (blue,
//   green, red, unused), a 32-bit DIB's layout, so rows are DIBWidth x 4 + DIBPadBytes bytes
//   apart. The stream is byte for byte the one the same colours give as packed RGB; the unused
//   byte is never looked at.
//
// * Raw quantised coefficients (raw_coefficients set): three planes Y, U, V of signed 16-bit
//   coefficients, already quantised with the tables this encoder writes into the file: the
//   external (or example) tables scaled by jquality with the IJG rule (quality clamped to
//   1..100; scale 5000 / quality below 50, else 200 - 2 x quality; entry = (base x scale + 50)
//   / 100 limited to 1..255), used in natural order. Plane p
//   is a raster sequence of 8 x 8 blocks, raw_blocks_per_row[p] blocks per row and
//   raw_block_rows[p] block rows; every block holds its 64 coefficients contiguously in natural
//   order (row-major: index = 8 x vertical frequency + horizontal frequency). A W x H picture
//   needs at least ceil(W / 8) x ceil(H / 8) luma blocks and ceil(W / 16) x ceil(H / 16) blocks
//   in each chroma plane; when W or H is not a multiple of 16 the encoder adds the blocks of the
//   incomplete MCUs itself: such a padding block repeats the DC of the block coded before it in
//   its component (its left neighbour) and has no AC, so it costs a few bits and a decoder crops
//   it away. Coefficients outside the baseline range are clamped (DC to -1024..1023, AC to
//   -1023..1023). For a frame whose sides are multiples of 16, a plane of W/8 x H/8 blocks can be
//   coded straight from the caller's memory; nothing is copied.
//
// Results are IJL_OK (0) or a negative IJLERR. On success JPGSizeBytes holds the number of bytes
// written; the encoder never writes more than the JPGSizeBytes the caller passed in.
#pragma once

#include <cstdint>

enum IJLERR : int {
  IJL_OK = 0,
  IJL_INVALID_PROPERTIES = -1,  // a null record, or ijlInit was not called
  IJL_INVALID_PARAMETER = -2,   // sizes, pointers or tables that cannot describe a picture
  IJL_UNSUPPORTED = -3,         // a colour space, subsampling or operation this library lacks
  IJL_BUFFER_TOO_SMALL = -4,    // the stream does not fit in JPGSizeBytes
};

enum IJLIOTYPE : int {
  IJL_JBUFF_WRITEWHOLEIMAGE = 9,
};

enum IJL_COLOR : int {
  IJL_G = 1,
  IJL_RGB = 2,
  IJL_BGR = 3,
  IJL_YCBCR = 4,
};

enum IJL_SUBSAMPLING : int {
  IJL_NONE = 0,
  IJL_411 = 1,  // 2 x 2 chroma (4:2:0)
  IJL_422 = 2,
};

struct JPEG_CORE_PROPERTIES {
  // Source picture.
  const std::uint8_t* DIBBytes;
  int DIBWidth;
  int DIBHeight;  // positive: rows stored top row first
  int DIBPadBytes;
  int DIBChannels;
  IJL_COLOR DIBColor;
  IJL_SUBSAMPLING DIBSubsampling;

  // Destination stream.
  std::uint8_t* JPGBytes;
  int JPGSizeBytes;  // in: size of the buffer; out: bytes written
  int JPGWidth;
  int JPGHeight;
  int JPGChannels;
  IJL_COLOR JPGColor;
  IJL_SUBSAMPLING JPGSubsampling;
  int jquality;

  // External quantisation tables: unscaled, 64 entries each in zig-zag order; table 0 is used
  // for luma, table 1 for chroma, tables 2 and 3 are unused. Scaled by jquality like the
  // standard's example tables, which are used when use_external_qtables is 0.
  int use_external_qtables;
  const std::uint8_t* qtables[4];

  // Sampling factors of the luma component relative to chroma: both 2 for IJL_411.
  int hsampling;
  int vsampling;

  // Raw quantised coefficient input (layout above); DIBBytes is ignored when set.
  int raw_coefficients;
  const std::int16_t* raw_planes[3];
  int raw_blocks_per_row[3];
  int raw_block_rows[3];

  // Owned by the library.
  std::uint32_t initialised;
};

// Sets every field to its default (nothing to code, quality 75, 4:2:0, RGB in, YCbCr out).
IJLERR ijlInit(JPEG_CORE_PROPERTIES* props);
// Codes the whole picture described by props into JPGBytes.
IJLERR ijlWrite(JPEG_CORE_PROPERTIES* props, IJLIOTYPE io_type);
// Ends the use of props; ijlWrite needs a new ijlInit afterwards.
IJLERR ijlFree(JPEG_CORE_PROPERTIES* props);
