#pragma once
// Watches for a message box under the display, reads its caption and text,
// and presses OK, while the test's own thread shows it.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace pradima::testing {

class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : thread_([this] { Watch(); }) {}
  // Waits for the box, or for up to ten seconds.
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  ~MessageBoxWatcher() { Join(); }

  bool found = false;
  std::wstring caption, text;

 private:
  void Watch() {
    for (int i = 0; i < 200; ++i, Sleep(50)) {
      if (HWND box = FindWindowW(L"#32770", nullptr)) {
        wchar_t buffer[512] = {};
        GetWindowTextW(box, buffer, 512);
        caption = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 512);
        text = buffer;
        found = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
      }
    }
  }
  std::thread thread_;
};

}  // namespace pradima::testing
