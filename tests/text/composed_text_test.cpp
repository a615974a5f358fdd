// Arguments typed as letters followed by their marks match the sheet's composed words.
#include "text/composed_text.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace pradima {
namespace {

TEST(ComposedText, MarksInAnyOrderComposeAndComposedAndOtherTextPassUnchanged) {
  for (const std::vector<std::string>& c : testing::DataTable("composed-letters.tsv")) {
    EXPECT_EQ(ComposeLatin(c[0]), c[1]) << c[0];
    EXPECT_EQ(ComposeLatin(c[1]), c[1]) << "composed text stays: " << c[1];
  }
}

}  // namespace
}  // namespace pradima
