#include "text/message.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/error.h"
#include "support/recording_sink.h"

namespace pradima {
namespace {

using testing::RecordingSink;

TEST(ShowMessage, ConvertsTheTitleOnlyAndAddsTheSystemModalFlag) {
  RecordingSink sink;
  EXPECT_EQ(ShowMessage(sink, "Soos nhaajp", 64, "Thoong Baso"), 1);
  EXPECT_EQ(ShowMessage(sink, "x", 0, "Thoong Baso"), 1);
  ASSERT_EQ(sink.prompts.size(), 2u);
  EXPECT_EQ(sink.prompts[0], "Soos nhaajp");
  EXPECT_EQ(sink.titles[0], "Thông Báo");
  EXPECT_EQ(sink.styles[0], 4160);
  EXPECT_EQ(sink.styles[1], 4096);
}

TEST(ShowMessage, StyleThatOverflowsFailsBeforeAnythingIsShown) {
  RecordingSink sink;
  try {
    ShowMessage(sink, "x", INT32_MAX - 100, "Thoong Baso");
    FAIL() << "no overflow";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 6);
  }
  EXPECT_TRUE(sink.prompts.empty());
  EXPECT_EQ(ShowMessage(sink, "x", INT32_MAX - 4096, "T"), 1);
  EXPECT_EQ(sink.styles.back(), INT32_MAX);
}

}  // namespace
}  // namespace pradima
