#include "session/win/release_later.h"

#include <atomic>
#include <memory>
#include <new>

namespace pradima::win {
namespace {

std::atomic<int> pending{0};
std::atomic<int> started{0};

// A smaller block is freed sooner than a thread starts.
constexpr size_t kCellsWorthAThread = 16384;

// Whether a two-dimensional array of VARIANTs is large enough to be worth a
// thread and holds nothing but plain values.
bool HoldsOnlyPlainValues(const VARIANT& v) {
  if (v.vt != (VT_ARRAY | VT_VARIANT) || !v.parray || SafeArrayGetDim(v.parray) != 2) return false;
  const SAFEARRAY* array = v.parray;
  size_t count = 1;
  for (USHORT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
  if (count < kCellsWorthAThread) return false;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(v.parray, &data))) return false;
  const auto* cells = static_cast<const VARIANT*>(data);
  bool plain = true;
  for (size_t i = 0; plain && i < count; ++i) {
    switch (cells[i].vt) {
      case VT_EMPTY:
      case VT_NULL:
      case VT_BSTR:
      case VT_R8:
      case VT_R4:
      case VT_I2:
      case VT_I4:
      case VT_CY:
      case VT_DATE:
      case VT_BOOL:
      case VT_ERROR:
      case VT_DECIMAL: break;
      default: plain = false;
    }
  }
  SafeArrayUnaccessData(v.parray);
  return plain;
}

// What a thread frees: the block, and its reference to this module, which
// it gives back only as it ends (FreeLibraryAndExitThread). Until a thread
// has it, the reference goes back with the owner.
struct Release {
  UniqueVariant value;
  HMODULE module = nullptr;
  bool handed_to_thread = false;
  ~Release() {
    if (!handed_to_thread && module) FreeLibrary(module);
  }
};

DWORD WINAPI ReleaseThread(void* parameter) {
  HMODULE module = nullptr;
  {
    const std::unique_ptr<Release> release(static_cast<Release*>(parameter));
    module = release->module;
  }  // the block is freed here
  pending.fetch_sub(1);
  FreeLibraryAndExitThread(module, 0);
}

}  // namespace

void ReleaseLater(UniqueVariant value) noexcept {
  if (!HoldsOnlyPlainValues(*value.get())) return;  // freed here
  std::unique_ptr<Release> release(new (std::nothrow) Release{});
  if (!release) return;  // freed here
  // A reference of the thread's own to this module.
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ReleaseThread),
                          &release->module))
    return;
  release->value = std::move(value);
  pending.fetch_add(1);
  release->handed_to_thread = true;
  const HANDLE thread = CreateThread(nullptr, 0, ReleaseThread, release.get(), 0, nullptr);
  if (!thread) {
    release->handed_to_thread = false;
    pending.fetch_sub(1);
    return;  // freed here, with the module's reference
  }
  release.release();
  started.fetch_add(1);
  CloseHandle(thread);
}

int ReleasesOnThreads() noexcept { return started.load(); }
int PendingReleases() noexcept { return pending.load(); }

}  // namespace pradima::win
