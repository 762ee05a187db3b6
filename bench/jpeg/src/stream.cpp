#include "stream.h"

#include <cstring>

#include "jfif_writer.h"

namespace ovjpeg {

std::uint8_t* BeginStream(Output& output, int width, int height, const QuantTables& tables) {
  std::uint8_t headers[kMaxHeaderBytes];
  const std::size_t size = WriteHeaders(headers, width, height, tables.luma, tables.chroma);
  if (size > output.capacity) return nullptr;
  std::memcpy(output.data, headers, size);
  return output.data + size;
}

IJLERR EndStream(ScanWriter& scan, Output& output) {
  if (!scan.Finish()) return IJL_BUFFER_TOO_SMALL;
  std::uint8_t* end = scan.position();
  if (output.data + output.capacity - end < static_cast<std::ptrdiff_t>(kTrailerBytes)) {
    return IJL_BUFFER_TOO_SMALL;
  }
  end += WriteTrailer(end);
  output.size = static_cast<std::size_t>(end - output.data);
  return IJL_OK;
}

}  // namespace ovjpeg
