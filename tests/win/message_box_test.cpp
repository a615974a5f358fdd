// The message box under a display: a watcher thread finds the box, reads
// its caption and text, and presses OK.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "text/win/message_box.h"

namespace pradima {
namespace {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
  bool found = false;
};

SeenBox WatchAndClose(std::atomic<bool>& stop) {
  SeenBox seen;
  for (int i = 0; i < 200 && !stop; ++i) {
    if (HWND box = FindWindowW(L"#32770", nullptr)) {
      wchar_t buffer[512] = {};
      GetWindowTextW(box, buffer, 512);
      seen.caption = buffer;
      GetDlgItemTextW(box, 0xFFFF, buffer, 512);
      seen.text = buffer;
      seen.found = true;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return seen;
    }
    Sleep(50);
  }
  return seen;
}

TEST(MessageBoxTest, ShowsTheConvertedCaptionAndThePromptAndReturnsOk) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
  std::atomic<bool> stop = false;
  SeenBox seen;
  std::thread watcher([&] { seen = WatchAndClose(stop); });
  win::MessageBoxSink sink;
  const int32_t result = ShowMessage(sink, "Phải ít nhất 1 số tùy chọn", 64, "Thoong Baso");
  stop = true;
  watcher.join();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(seen.caption, L"Th\u00f4ng B\u00e1o");
  EXPECT_EQ(seen.text, L"Ph\u1ea3i \u00edt nh\u1ea5t 1 s\u1ed1 t\u00f9y ch\u1ecdn");
}

}  // namespace
}  // namespace pradima
