// Start and end of a coded stream in the caller's buffer, with the bounds checked.
#pragma once

#include "encoder.h"
#include "scan_writer.h"

namespace ovjpeg {

// Writes the headers; nullptr when they do not fit.
std::uint8_t* BeginStream(Output& output, int width, int height, const QuantTables& tables);

// Flushes the scan and writes EOI; sets output.size.
IJLERR EndStream(ScanWriter& scan, Output& output);

}  // namespace ovjpeg
