// A formula as it reads in another cell: what moves and what stays.
#include "xlsx/moved_formula.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace pradima::xlsx {
namespace {

TEST(MovedFormula, RelativePartsMoveAndEverythingElseStays) {
  for (const std::vector<std::string>& c : testing::DataTable("moved-formulas.tsv")) {
    const std::optional<std::string> moved = c.size() > 3 ? std::optional(c[3]) : std::nullopt;
    EXPECT_EQ(MoveFormula(c[0], std::stoi(c[1]), std::stoi(c[2])), moved) << c[0];
  }
}

}  // namespace
}  // namespace pradima::xlsx
