#include "bench/core/jpeg_compress.h"

#include <climits>

#include "bench/jpeg/ijl.h"

namespace vexmark {

int JpegCompress(const JpegSource& source, std::uint8_t* destination, std::size_t capacity,
                 int quality) {
  const std::size_t pixel_bytes = source.bgrx ? 4 : 3;
  const std::size_t row_bytes = static_cast<std::size_t>(source.width) * pixel_bytes;
  if (source.width <= 0 || source.stride < row_bytes || source.stride - row_bytes > INT_MAX) {
    return 0;
  }
  JPEG_CORE_PROPERTIES props;
  if (ijlInit(&props) != IJL_OK) {
    ijlFree(&props);
    return 0;
  }
  props.DIBBytes = source.pixels;
  props.DIBWidth = source.width;
  props.DIBHeight = source.height;
  props.DIBPadBytes = static_cast<int>(source.stride - row_bytes);
  props.DIBChannels = source.bgrx ? 4 : 3;
  props.DIBColor = source.bgrx ? IJL_BGR : IJL_RGB;
  props.DIBSubsampling = IJL_NONE;
  props.JPGBytes = destination;
  // The library is told the buffer's real size, not width x height x 3.
  props.JPGSizeBytes = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
  props.JPGWidth = source.width;
  props.JPGHeight = source.height;
  props.JPGChannels = 3;
  props.JPGColor = IJL_YCBCR;
  props.JPGSubsampling = IJL_411;
  props.jquality = quality;
  int size = 0;
  if (ijlWrite(&props, IJL_JBUFF_WRITEWHOLEIMAGE) == IJL_OK) size = props.JPGSizeBytes;
  ijlFree(&props);
  return size;
}

int JpegCompress(const std::uint8_t* rgb, int width, int height, std::uint8_t* destination,
                 std::size_t capacity, int quality) {
  const std::size_t stride = width > 0 ? static_cast<std::size_t>(width) * 3 : 0;
  return JpegCompress({rgb, width, height, stride, false}, destination, capacity, quality);
}

}  // namespace vexmark
