// "Ask, and if the buffer is too small, grow it and ask again": the shape of every Windows call
// that fills a caller's buffer (registry names and values, module paths, device properties).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win_error.h"

namespace platform {

// The most elements a growing query allocates before it gives up with the call's error.
inline constexpr uint32_t kGrowingBufferLimit = 1u << 20;

// `query(T* data, uint32_t* size)` gets the buffer's capacity in *size and returns a Windows
// error. kErrorMoreData or kErrorInsufficientBuffer means "too small": *size then holds the
// size needed, or is left as it was when the call does not say, and the buffer grows to at
// least twice its capacity. On success *size is the number of elements filled and the buffer
// is cut to it. `buffer`'s own size is the first capacity tried (at least one element).
template <typename T, typename Query>
WinError QueryWithGrowingBuffer(std::vector<T>* buffer, Query query,
                                uint32_t limit = kGrowingBufferLimit) {
  if (buffer->empty()) buffer->resize(1);
  for (;;) {
    const auto capacity = static_cast<uint32_t>(buffer->size());
    uint32_t size = capacity;
    const WinError error = query(buffer->data(), &size);
    if (error == kErrorSuccess) {
      buffer->resize(std::min(size, capacity));
      return kErrorSuccess;
    }
    if (error != kErrorMoreData && error != kErrorInsufficientBuffer) return error;
    if (capacity >= limit) return error;
    const uint32_t doubled = capacity > limit / 2 ? limit : capacity * 2;
    buffer->resize(std::min(std::max(size, doubled), limit));
  }
}

}  // namespace platform
