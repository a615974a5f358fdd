#pragma once
// Small RAII owners for the COM resources that ComPtr does not cover.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

#include "base/error.h"

namespace pradima::win {

// An owned handle, given back with its free function when the owner goes.
template <typename Handle, auto Free>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle owned) noexcept : handle_(owned) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }
  Handle release() noexcept { return std::exchange(handle_, Handle{}); }
  void reset(Handle owned = Handle{}) noexcept {
    if (handle_ != Handle{}) Free(handle_);
    handle_ = owned;
  }
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_{};
};

using UniqueHkey = UniqueHandle<HKEY, &RegCloseKey>;

using UniqueBstr = UniqueHandle<BSTR, &SysFreeString>;
using UniqueSafeArray = UniqueHandle<SAFEARRAY*, &SafeArrayDestroy>;

// A BSTR holding the text; out of memory is an error, never a null string.
inline UniqueBstr MakeBstr(std::wstring_view text) {
  UniqueBstr bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!bstr)
    throw Error(static_cast<int32_t>(E_OUTOFMEMORY),
                "out of memory for a string of " + std::to_string(text.size()) + " characters");
  return bstr;
}

class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  UniqueVariant(UniqueVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      VariantClear(&v_);
      v_ = other.v_;
      VariantInit(&other.v_);
    }
    return *this;
  }
  ~UniqueVariant() { VariantClear(&v_); }

  VARIANT* get() noexcept { return &v_; }
  const VARIANT* get() const noexcept { return &v_; }
  VARIANT* operator->() noexcept { return &v_; }
  const VARIANT* operator->() const noexcept { return &v_; }
  // Clears the old content and hands out the slot for a callee to fill.
  VARIANT* put() noexcept {
    VariantClear(&v_);
    return &v_;
  }
  VARIANT release() noexcept {
    VARIANT out = v_;
    VariantInit(&v_);
    return out;
  }

 private:
  VARIANT v_;
};

// Keeps a SAFEARRAY's data locked for direct access while in scope.
class SafeArrayDataLock {
 public:
  explicit SafeArrayDataLock(SAFEARRAY* array) : array_(array), hr_(SafeArrayLock(array)) {}
  SafeArrayDataLock(const SafeArrayDataLock&) = delete;
  SafeArrayDataLock& operator=(const SafeArrayDataLock&) = delete;
  ~SafeArrayDataLock() {
    if (SUCCEEDED(hr_)) SafeArrayUnlock(array_);
  }
  HRESULT status() const noexcept { return hr_; }

 private:
  SAFEARRAY* array_;
  HRESULT hr_;
};

}  // namespace pradima::win
