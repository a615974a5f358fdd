// The message box under a display, read and closed by a watcher.
#include "text/win/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/win/message_box_watcher.h"

namespace pradima {
namespace {

TEST(MessageBoxTest, ShowsTheConvertedCaptionAndThePromptAndReturnsOk) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
  testing::MessageBoxWatcher box;
  win::MessageBoxSink sink;
  const int32_t result = ShowMessage(sink, "Phải ít nhất 1 số tùy chọn", 64, "Thoong Baso");
  box.Join();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(box.caption, L"Th\u00f4ng B\u00e1o");
  EXPECT_EQ(box.text, L"Ph\u1ea3i \u00edt nh\u1ea5t 1 s\u1ed1 t\u00f9y ch\u1ecdn");
}

}  // namespace
}  // namespace pradima
