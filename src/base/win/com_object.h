#pragma once
// IUnknown, written once for every COM object of ours: the class Sub, its
// class factory, and the fakes of the tests.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <type_traits>
#include <utility>

namespace pradima::win {

// Reference counting, and QueryInterface answering IUnknown, each listed
// interface, and IDispatch for an interface derived from it (a dual
// interface). An object starts with one reference, which MakeComObject hands
// to its caller; the last Release deletes it.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
    if (!object) return E_POINTER;
    *object = nullptr;
    ((*object = *object ? *object : Match<Interfaces>(iid)), ...);
    if (!*object && iid == IID_IUnknown) *object = static_cast<First*>(this);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  template <typename Head, typename...>
  struct FirstOf {
    using type = Head;
  };
  using First = typename FirstOf<Interfaces...>::type;

  template <typename Interface>
  void* Match(REFIID iid) noexcept {
    if (iid == __uuidof(Interface)) return static_cast<Interface*>(this);
    if constexpr (std::is_base_of_v<IDispatch, Interface>) {
      if (iid == IID_IDispatch) return static_cast<Interface*>(this);
    }
    return nullptr;
  }

  std::atomic<ULONG> references_{1};
};

// Takes over a new object's first reference (mingw's ComPtr::Attach would add one).
template <typename T>
Microsoft::WRL::ComPtr<T> Adopt(T* created) noexcept {
  Microsoft::WRL::ComPtr<T> owner;
  *owner.GetAddressOf() = created;
  return owner;
}

template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> MakeComObject(Args&&... args) {
  return Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace pradima::win
