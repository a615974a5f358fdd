#include "text/message.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/error_of.h"
#include "support/recording_sink.h"

namespace pradima {
namespace {

// A style that would overflow with the flag fails before anything is shown.
TEST(ShowMessage, ConvertsTheTitleOnlyAndAddsTheSystemModalFlagUnlessItOverflows) {
  testing::RecordingSink sink;
  EXPECT_EQ(ShowMessage(sink, "Soos nhaajp", 64, "Thoong Baso"), 1);
  EXPECT_EQ(testing::ErrorOf([&] { ShowMessage(sink, "x", INT32_MAX - 100, "Thoong Baso"); }).first, 6);
  EXPECT_EQ(ShowMessage(sink, "y", INT32_MAX - 4096, "T"), 1);
  EXPECT_EQ(sink.prompts, (std::vector<std::string>{"Soos nhaajp", "y"}));
  EXPECT_EQ(sink.titles, (std::vector<std::string>{"Thông Báo", "T"}));
  EXPECT_EQ(sink.styles, (std::vector<int32_t>{4160, INT32_MAX}));
}

}  // namespace
}  // namespace pradima
