// The library's calling interface: checks the properties record and runs an encoding entry.
#include "bench/jpeg/ijl.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "encoder.h"

namespace ovjpeg {
namespace {

constexpr std::uint32_t kInitialised = 0x4F564A50;  // marks a record that went through ijlInit
constexpr int kMaxSide = 65535;

bool ValidSide(int side) { return side >= 1 && side <= kMaxSide; }

IJLERR CheckOutput(const JPEG_CORE_PROPERTIES& p) {
  if (p.JPGBytes == nullptr || p.JPGSizeBytes <= 0) return IJL_INVALID_PARAMETER;
  if (!ValidSide(p.JPGWidth) || !ValidSide(p.JPGHeight)) return IJL_INVALID_PARAMETER;
  if (p.JPGChannels != 3 || p.JPGColor != IJL_YCBCR || p.JPGSubsampling != IJL_411 ||
      p.hsampling != 2 || p.vsampling != 2) {
    return IJL_UNSUPPORTED;
  }
  if (p.use_external_qtables && (p.qtables[0] == nullptr || p.qtables[1] == nullptr)) {
    return IJL_INVALID_PARAMETER;
  }
  return IJL_OK;
}

bool IsPackedRgb(const JPEG_CORE_PROPERTIES& p) {
  return p.DIBChannels == 3 && p.DIBColor == IJL_RGB;
}

bool IsBgrx(const JPEG_CORE_PROPERTIES& p) { return p.DIBChannels == 4 && p.DIBColor == IJL_BGR; }

IJLERR CheckPixelSource(const JPEG_CORE_PROPERTIES& p) {
  if (p.DIBBytes == nullptr || p.DIBPadBytes < 0) return IJL_INVALID_PARAMETER;
  if (p.DIBWidth != p.JPGWidth || p.DIBHeight != p.JPGHeight) return IJL_INVALID_PARAMETER;
  if (!(IsPackedRgb(p) || IsBgrx(p)) || p.DIBSubsampling != IJL_NONE) return IJL_UNSUPPORTED;
  // The whole picture must be addressable from DIBBytes.
  const std::int64_t stride = std::int64_t{p.DIBWidth} * p.DIBChannels + p.DIBPadBytes;
  if (stride * p.DIBHeight > PTRDIFF_MAX) return IJL_INVALID_PARAMETER;
  return IJL_OK;
}

IJLERR CheckCoefficientSource(const JPEG_CORE_PROPERTIES& p) {
  const int needed_columns[3] = {(p.JPGWidth + 7) / 8, (p.JPGWidth + 15) / 16,
                                 (p.JPGWidth + 15) / 16};
  const int needed_rows[3] = {(p.JPGHeight + 7) / 8, (p.JPGHeight + 15) / 16,
                              (p.JPGHeight + 15) / 16};
  for (int i = 0; i < 3; ++i) {
    if (p.raw_planes[i] == nullptr || p.raw_blocks_per_row[i] < needed_columns[i] ||
        p.raw_block_rows[i] < needed_rows[i]) {
      return IJL_INVALID_PARAMETER;
    }
  }
  return IJL_OK;
}

QuantTables MakeTables(const JPEG_CORE_PROPERTIES& p) {
  if (p.use_external_qtables) {
    return {ScaleQuantTable(FromZigzag(p.qtables[0]), p.jquality),
            ScaleQuantTable(FromZigzag(p.qtables[1]), p.jquality)};
  }
  return {ScaleQuantTable(kLuminanceExample, p.jquality),
          ScaleQuantTable(kChrominanceExample, p.jquality)};
}

// What the tables are made from: the quality and, for external tables, their bytes (the
// caller may change them in place between writes).
struct TableKey {
  int quality = 0;
  bool external = false;
  std::uint8_t bytes[2][64] = {};

  explicit TableKey(const JPEG_CORE_PROPERTIES& p)
      : quality(p.jquality), external(p.use_external_qtables != 0) {
    if (!external) return;
    std::memcpy(bytes[0], p.qtables[0], 64);
    std::memcpy(bytes[1], p.qtables[1], 64);
  }
  bool operator==(const TableKey& other) const {
    return quality == other.quality && external == other.external &&
           std::memcmp(bytes, other.bytes, sizeof(bytes)) == 0;
  }
};

// A caller encodes frame after frame at one quality: the tables and divisors of the last
// write are kept (per thread, so concurrent callers need no lock).
const QuantTables& TablesFor(const JPEG_CORE_PROPERTIES& p) {
  thread_local std::optional<TableKey> key;
  thread_local std::optional<QuantTables> tables;
  const TableKey wanted(p);
  if (!key || !(*key == wanted)) {
    tables.emplace(MakeTables(p));
    key = wanted;
  }
  return *tables;
}

IJLERR Encode(const JPEG_CORE_PROPERTIES& p, std::size_t* size) {
  IJLERR status = CheckOutput(p);
  if (status != IJL_OK) return status;
  status = p.raw_coefficients ? CheckCoefficientSource(p) : CheckPixelSource(p);
  if (status != IJL_OK) return status;
  Output output{p.JPGBytes, static_cast<std::size_t>(p.JPGSizeBytes), 0};
  const QuantTables& tables = TablesFor(p);
  const Kernels& kernels = BestKernels();
  if (p.raw_coefficients) {
    const CoefficientPlanes planes{
        {p.raw_planes[0], p.raw_planes[1], p.raw_planes[2]},
        {p.raw_blocks_per_row[0], p.raw_blocks_per_row[1], p.raw_blocks_per_row[2]},
        {p.raw_block_rows[0], p.raw_block_rows[1], p.raw_block_rows[2]},
        p.JPGWidth,
        p.JPGHeight};
    status = EncodeCoefficients(planes, tables, kernels, output);
  } else {
    const RgbPicture picture{
        p.DIBBytes, static_cast<std::ptrdiff_t>(p.DIBWidth) * p.DIBChannels + p.DIBPadBytes,
        p.DIBWidth, p.DIBHeight, IsBgrx(p) ? PixelLayout::kBgrx : PixelLayout::kRgb};
    status = EncodeRgb(picture, tables, kernels, output);
  }
  *size = output.size;
  return status;
}

}  // namespace
}  // namespace ovjpeg

IJLERR ijlInit(JPEG_CORE_PROPERTIES* props) {
  if (props == nullptr) return IJL_INVALID_PROPERTIES;
  std::memset(props, 0, sizeof(*props));
  props->DIBChannels = 3;
  props->DIBColor = IJL_RGB;
  props->DIBSubsampling = IJL_NONE;
  props->JPGChannels = 3;
  props->JPGColor = IJL_YCBCR;
  props->JPGSubsampling = IJL_411;
  props->jquality = 75;
  props->hsampling = 2;
  props->vsampling = 2;
  props->initialised = ovjpeg::kInitialised;
  return IJL_OK;
}

IJLERR ijlWrite(JPEG_CORE_PROPERTIES* props, IJLIOTYPE io_type) {
  if (props == nullptr || props->initialised != ovjpeg::kInitialised) {
    return IJL_INVALID_PROPERTIES;
  }
  if (io_type != IJL_JBUFF_WRITEWHOLEIMAGE) return IJL_UNSUPPORTED;
  std::size_t size = 0;
  const IJLERR status = ovjpeg::Encode(*props, &size);
  if (status == IJL_OK) props->JPGSizeBytes = static_cast<int>(size);
  return status;
}

IJLERR ijlFree(JPEG_CORE_PROPERTIES* props) {
  if (props == nullptr || props->initialised != ovjpeg::kInitialised) {
    return IJL_INVALID_PROPERTIES;
  }
  props->initialised = 0;
  return IJL_OK;
}
