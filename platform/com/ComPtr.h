// ComPtr: an owned interface pointer that Releases when it goes.
#pragma once

#include <utility>

#include "platform/com/Unknown.h"

namespace platform::com {

// ComPtr: holds one reference. `Attach`/`Put` adopt a reference the callee
// already counted; copying adds one.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* adopted) : p_(adopted) {}
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Reset: releases the held reference.
  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Detach: hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  // Put: an out-parameter slot for a function that returns a counted pointer.
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

}  // namespace platform::com
