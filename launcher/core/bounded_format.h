// Formatting into a fixed-size text buffer without ever truncating.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace launcher {

// Replaces each "%s" of the format with the next argument. The result must fit a buffer of
// `capacity` characters including the terminating zero; otherwise, or when the number of
// arguments differs from the number of "%s", there is no result: a cut-off command line or
// path would name something else than intended.
std::optional<std::string> FormatBounded(size_t capacity, std::string_view format,
                                         std::initializer_list<std::string_view> args);

}  // namespace launcher
