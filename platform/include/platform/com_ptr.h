// An owning pointer to a reference-counted COM-shaped object: AddRef on copy, Release when
// dropped. T needs AddRef() and Release(); As() also needs QueryInterface(iid, void**).
// No Windows header is needed, so it serves the adapters and the host tests alike.
#pragma once
#include <cstddef>
#include <utility>

namespace platform {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}  // NOLINT: as a null raw pointer converts
  // Shares `pointer`: takes a reference of its own.
  explicit ComPtr(T* pointer) : pointer_(pointer) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ~ComPtr() { reset(); }

  ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }

  // Takes over a reference the caller already owns (one returned by a Create or Query call).
  static ComPtr Attach(T* pointer) {
    ComPtr owner;
    owner.pointer_ = pointer;
    return owner;
  }
  // Hands the reference to the caller, as an out-parameter of a COM method does.
  [[nodiscard]] T* Detach() { return std::exchange(pointer_, nullptr); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  T& operator*() const { return *pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  void reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  // For an API that returns a new reference through T**: releases what is held first.
  T** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  // QueryInterface for another interface; the result is empty when it fails.
  template <typename U, typename Iid>
  auto As(const Iid& iid, ComPtr<U>* out) const {
    return pointer_->QueryInterface(iid, out->put_void());
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace platform
