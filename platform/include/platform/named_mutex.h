// Named mutexes, the deliverables' single-instance guard.
#pragma once
#include <memory>
#include <string_view>

namespace platform {

class MutexHandle {
 public:
  virtual ~MutexHandle() = default;  // closes the handle
};

struct NamedMutexResult {
  enum class Kind { kCreated, kAlreadyExisted, kFailed };
  Kind kind = Kind::kFailed;
  std::unique_ptr<MutexHandle> handle;  // set for kCreated and kAlreadyExisted
};

class NamedMutexes {
 public:
  virtual ~NamedMutexes() = default;
  // CreateMutex, not owned; kAlreadyExisted when another process holds the name.
  virtual NamedMutexResult Create(std::string_view name) = 0;
};

}  // namespace platform
