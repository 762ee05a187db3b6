// The library's calling interface: checks the properties record and runs an encoding entry.
#include "bench/jpeg/ijl.h"

#include <cstring>

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

IJLERR CheckRgbSource(const JPEG_CORE_PROPERTIES& p) {
  if (p.DIBBytes == nullptr || p.DIBPadBytes < 0) return IJL_INVALID_PARAMETER;
  if (p.DIBWidth != p.JPGWidth || p.DIBHeight != p.JPGHeight) return IJL_INVALID_PARAMETER;
  if (p.DIBChannels != 3 || p.DIBColor != IJL_RGB || p.DIBSubsampling != IJL_NONE) {
    return IJL_UNSUPPORTED;
  }
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

QuantTables TablesFor(const JPEG_CORE_PROPERTIES& p) {
  if (p.use_external_qtables) {
    return {ScaleQuantTable(FromZigzag(p.qtables[0]), p.jquality),
            ScaleQuantTable(FromZigzag(p.qtables[1]), p.jquality)};
  }
  return {ScaleQuantTable(kLuminanceExample, p.jquality),
          ScaleQuantTable(kChrominanceExample, p.jquality)};
}

IJLERR Encode(const JPEG_CORE_PROPERTIES& p, std::size_t* size) {
  IJLERR status = CheckOutput(p);
  if (status != IJL_OK) return status;
  status = p.raw_coefficients ? CheckCoefficientSource(p) : CheckRgbSource(p);
  if (status != IJL_OK) return status;
  Output output{p.JPGBytes, static_cast<std::size_t>(p.JPGSizeBytes), 0};
  const QuantTables tables = TablesFor(p);
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
    const RgbPicture picture{p.DIBBytes,
                             static_cast<std::ptrdiff_t>(p.DIBWidth) * 3 + p.DIBPadBytes,
                             p.DIBWidth, p.DIBHeight};
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
