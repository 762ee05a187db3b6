// An owner for a C stream, closed at the end of its scope.
#pragma once
#include <cstdio>

#include "platform/scoped_handle.h"

namespace platform {

struct FileTraits {
  using Handle = std::FILE*;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { std::fclose(h); }
};

using ScopedFile = ScopedHandle<FileTraits>;

}  // namespace platform
