#include "entry/module.h"

#include <atomic>
#include <new>

#include "entry/sub.h"

namespace pradima::entry {
namespace {

HMODULE module = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};

// Made for each caller that asks; a live factory, like a live Sub, keeps
// the DLL loaded (DllCanUnloadNow).
class ClassFactory final : public win::ComObject<IClassFactory> {
 public:
  ClassFactory() noexcept { ObjectCreated(); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Sub* sub = new (std::nothrow) Sub();
    if (!sub) return E_OUTOFMEMORY;
    const HRESULT hr = sub->QueryInterface(iid, object);
    if (SUCCEEDED(hr)) sub->MarkHandedOut();
    sub->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    entry::LockServer(lock != FALSE);
    return S_OK;
  }

 private:
  ~ClassFactory() override { ObjectDestroyed(); }
};

}  // namespace

void ObjectCreated() noexcept { ++objects; }
void ObjectDestroyed() noexcept { --objects; }
void LockServer(bool lock) noexcept { lock ? ++locks : --locks; }
bool CanUnload() noexcept { return objects == 0 && locks == 0; }
HMODULE ThisModule() noexcept { return module; }

HRESULT ModulePath(std::wstring& path) noexcept try {
  // Paths may exceed MAX_PATH; the longest the system allows is 32,767 units.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::wstring buffer(size, L'\0');
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
    if (length == 0) {
      const DWORD error = GetLastError();
      return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    if (length < size) {
      buffer.resize(length);
      path = std::move(buffer);
      return S_OK;
    }
  }
  return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
} catch (const std::bad_alloc&) {
  return E_OUTOFMEMORY;
}

}  // namespace pradima::entry

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // Thread notifications stay on: the statically linked runtime needs them.
  if (reason == DLL_PROCESS_ATTACH) pradima::entry::module = instance;
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_Sub) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) pradima::entry::ClassFactory();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return pradima::entry::CanUnload() ? S_OK : S_FALSE; }
