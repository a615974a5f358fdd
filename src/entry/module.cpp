#include "entry/module.h"

#include <atomic>
#include <new>

#include "entry/sub.h"

namespace pradima::entry {
namespace {

HMODULE module = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is a static object; while a caller holds it, it counts as a lock.
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    ObjectCreated();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ObjectDestroyed();
    return 1;
  }
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
};

ClassFactory factory;

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
  if (reason == DLL_PROCESS_ATTACH) {
    pradima::entry::module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_Sub) return CLASS_E_CLASSNOTAVAILABLE;
  return pradima::entry::factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return pradima::entry::CanUnload() ? S_OK : S_FALSE; }
