#pragma once
// Small RAII owners for the COM resources that ComPtr does not cover.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

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

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR owned) noexcept : bstr_(owned) {}
  explicit UniqueBstr(std::wstring_view text)
      : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept {
    reset(std::exchange(other.bstr_, nullptr));
    return *this;
  }
  ~UniqueBstr() { reset(); }

  BSTR get() const noexcept { return bstr_; }
  BSTR release() noexcept { return std::exchange(bstr_, nullptr); }
  void reset(BSTR owned = nullptr) noexcept {
    if (bstr_) SysFreeString(bstr_);
    bstr_ = owned;
  }
  BSTR* put() noexcept {
    reset();
    return &bstr_;
  }

 private:
  BSTR bstr_ = nullptr;
};

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

class UniqueSafeArray {
 public:
  UniqueSafeArray() = default;
  explicit UniqueSafeArray(SAFEARRAY* owned) noexcept : array_(owned) {}
  UniqueSafeArray(UniqueSafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  UniqueSafeArray& operator=(UniqueSafeArray&& other) noexcept {
    reset(std::exchange(other.array_, nullptr));
    return *this;
  }
  ~UniqueSafeArray() { reset(); }
  SAFEARRAY* get() const noexcept { return array_; }
  SAFEARRAY* release() noexcept { return std::exchange(array_, nullptr); }
  void reset(SAFEARRAY* owned = nullptr) noexcept {
    if (array_) SafeArrayDestroy(array_);
    array_ = owned;
  }

 private:
  SAFEARRAY* array_ = nullptr;
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
