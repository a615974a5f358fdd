// A real late-bound client: a VBScript run by cscript creates Pradima.Sub
// and calls its three methods with its own variables.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "session/win/variant_value.h"
#include "support/win/registry_keys.h"
#include "support/win/wine_process.h"

namespace pradima {
namespace {

using testing::RunProcess;
using testing::WindowsPath;

void SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

TEST(ScriptClient, CallsTheThreeMethodsFromVbscript) {
  const std::wstring hostClsid = L"{6B1D2F0A-5C3E-4C57-9E3B-1A2B3C4D5E6F}";
  const std::wstring classKey = L"Software\\Classes\\CLSID\\" + hostClsid;
  SetString(classKey + L"\\InprocServer32", nullptr, WindowsPath(PRADIMA_TEST_HOST_DLL));
  SetString(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  SetString(L"Software\\Classes\\PradimaTest.Host\\CLSID", nullptr, hostClsid);
  const std::wstring engine = WindowsPath(PRADIMA_TEST_DLL);
  ASSERT_EQ(RunProcess(L"regsvr32.exe /s \"" + engine + L"\""), 0u);

  const DWORD result = RunProcess(L"cscript.exe //nologo \"" + WindowsPath(PRADIMA_CLIENT_SCRIPT) + L"\"");

  RunProcess(L"regsvr32.exe /s /u \"" + engine + L"\"");
  testing::DeleteKey(HKEY_LOCAL_MACHINE, classKey);
  testing::DeleteKey(HKEY_LOCAL_MACHINE, L"Software\\Classes\\PradimaTest.Host");
  EXPECT_EQ(result, 3u) << "the script ends with 3 when every check passed; it printed why it did not";
}

}  // namespace
}  // namespace pradima
