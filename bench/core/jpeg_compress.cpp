#include "bench/core/jpeg_compress.h"

#include <climits>

#include "bench/jpeg/ijl.h"

namespace vexmark {

int JpegCompress(const std::uint8_t* rgb, int width, int height, std::uint8_t* destination,
                 std::size_t capacity, int quality) {
  JPEG_CORE_PROPERTIES props;
  if (ijlInit(&props) != IJL_OK) {
    ijlFree(&props);
    return 0;
  }
  props.DIBBytes = rgb;
  props.DIBWidth = width;
  props.DIBHeight = height;
  props.DIBPadBytes = 0;
  props.DIBChannels = 3;
  props.DIBColor = IJL_RGB;
  props.DIBSubsampling = IJL_NONE;
  props.JPGBytes = destination;
  // The library is told the buffer's real size, not width x height x 3.
  props.JPGSizeBytes = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
  props.JPGWidth = width;
  props.JPGHeight = height;
  props.JPGChannels = 3;
  props.JPGColor = IJL_YCBCR;
  props.JPGSubsampling = IJL_411;
  props.jquality = quality;
  int size = 0;
  if (ijlWrite(&props, IJL_JBUFF_WRITEWHOLEIMAGE) == IJL_OK) size = props.JPGSizeBytes;
  ijlFree(&props);
  return size;
}

}  // namespace vexmark
