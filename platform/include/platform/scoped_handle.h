// One owner for a handle that must be closed exactly once. The traits say what the handle is,
// which values mean "none" and how it is closed:
//   struct Traits {
//     using Handle = ...;
//     static Handle Invalid();           // the value an empty owner holds
//     static bool IsValid(Handle h);     // false for every "none" value the API returns
//     static void Close(Handle h);       // called only for valid handles
//   };
// The Windows traits (kernel, find, registry key, device list, GDI, module) are in
// platform/win32/scoped_handles.h.
#pragma once
#include <utility>

namespace platform {

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }

  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  bool valid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return valid(); }

  // Closes the handle held, if any, and takes `handle`.
  void reset(Handle handle = Traits::Invalid()) {
    const Handle old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) Traits::Close(old);
  }
  // Gives the handle up without closing it.
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  // For an API that returns the handle through an out-parameter: closes what is held first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

}  // namespace platform
