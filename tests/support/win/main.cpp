// The Windows tests run in a single-threaded apartment, as the spreadsheet
// application's thread does.
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(started)) {
    std::fprintf(stderr, "COM did not start a single-threaded apartment: 0x%08lx\n",
                 static_cast<unsigned long>(started));
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
