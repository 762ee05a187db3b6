// "Ask, and if the buffer is too small, grow it and ask again": the shape of every Windows call
// that fills a caller's buffer (registry names and values, module paths, device properties).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// For a call that fills a buffer of `Char`s and returns the length, or the size it needs (or,
// for GetModuleFileName, the buffer's size, as the text may have been cut) when the buffer is
// too small; 0 when it fails. `query(Char* data, uint32_t capacity)`. Empty when it fails.
template <typename Char, typename Query>
std::optional<std::basic_string<Char>> QueryLengthString(Query query) {
  std::vector<Char> buffer(260);  // MAX_PATH: enough for most paths at the first call
  const WinError error = QueryWithGrowingBuffer(&buffer, [&](Char* data, uint32_t* size) {
    const auto length = query(data, *size);
    if (length == 0) return kErrorInvalidData;
    if (length >= *size) {
      *size = static_cast<uint32_t>(length) + 1;
      return kErrorMoreData;
    }
    *size = static_cast<uint32_t>(length);
    return kErrorSuccess;
  });
  if (error != kErrorSuccess) return std::nullopt;
  return std::basic_string<Char>(buffer.begin(), buffer.end());
}

}  // namespace platform
