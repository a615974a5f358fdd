// Checks of what a user installs, run under Wine by the package test:
//   package_probe version FILE.dll   the version resource, as the file's properties show it
//   package_probe activate           Pradima.Sub created late-bound from the user's own
//                                    registration, resolved as COM resolves it on Windows
//   package_probe serve PORT         the fixture results site on loopback until stopped,
//                                    for the starter workbook filled against it
// Wine's COM reads only the machine's classes, so `activate` follows the
// user's keys itself: ProgID, class, InprocServer32, DllGetClassObject.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/fixture_site.h"
#include "support/win/registry_keys.h"
#include "support/win/wine_process.h"

namespace {

using pradima::testing::WindowsPath;

// The fixed file version, then the strings the file's properties show.
int PrintVersion(const char* file) {
  const std::wstring path = WindowsPath(file);
  std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (block.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
    std::fprintf(stderr, "%s: no readable version resource (error %lu)\n", file, GetLastError());
    return 1;
  }
  std::printf("fixed: %u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)}, unsigned{LOWORD(fixed->dwFileVersionMS)},
              unsigned{HIWORD(fixed->dwFileVersionLS)});
  for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName"}) {
    void* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    const bool found = VerQueryValueW(block.data(), key.c_str(), &value, &length) && value;
    std::printf("%ls: %ls\n", name, found ? static_cast<const wchar_t*>(value) : L"(none)");
  }
  return 0;
}

std::wstring UserValue(const std::wstring& key) {
  const std::wstring value = pradima::testing::ReadValue(HKEY_CURRENT_USER, L"Software\\Classes\\" + key);
  return value == L"(none)" ? L"" : value;
}

int Activate() {
  const std::wstring clsidText = UserValue(L"Pradima.Sub\\CLSID");
  const std::wstring server = UserValue(L"CLSID\\" + clsidText + L"\\InprocServer32");
  std::printf("Pradima.Sub: %ls in %ls\n", clsidText.c_str(), server.c_str());
  CLSID clsid{};
  const bool registered =
      !clsidText.empty() && !server.empty() && SUCCEEDED(CLSIDFromString(clsidText.c_str(), &clsid));
  const HMODULE dll = registered ? LoadLibraryW(server.c_str()) : nullptr;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject =
      dll ? reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
          : nullptr;
  Microsoft::WRL::ComPtr<IClassFactory> factory;
  Microsoft::WRL::ComPtr<IDispatch> sub;
  if (!getClassObject || FAILED(getClassObject(clsid, IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_PPV_ARGS(&sub)))) {
    std::fprintf(stderr, "no Pradima.Sub from this user's registration (load error %lu)\n", GetLastError());
    return 1;
  }
  for (const wchar_t* member : {L"Sup", L"kieuSo", L"ThongKeLo"}) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    if (FAILED(sub->GetIDsOfNames(IID_NULL, names, 1, 1033, &id))) {
      std::fprintf(stderr, "Pradima.Sub has no member %ls\n", member);
      return 1;
    }
  }
  std::printf("created Pradima.Sub late-bound; Sup, kieuSo and ThongKeLo answer\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "version") == 0) return PrintVersion(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "activate") == 0) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = Activate();
    CoUninitialize();
    return status;
  }
  if (argc == 3 && std::strcmp(argv[1], "serve") == 0) {
    pradima::testing::FixtureSite site(pradima::testing::StandardPages, static_cast<uint16_t>(std::atoi(argv[2])));
    std::printf("serving %s\n", site.base_url().c_str());
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
  }
  std::fprintf(stderr, "usage: package_probe version FILE.dll | package_probe activate | package_probe serve PORT\n");
  return 2;
}
