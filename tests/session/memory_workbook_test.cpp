#include "session/memory_workbook.h"

#include <gtest/gtest.h>

#include "support/error_of.h"

namespace pradima {
namespace {

class MemoryWorkbookTest : public ::testing::Test {
 protected:
  std::shared_ptr<MemoryWorkbook> book = MemoryWorkbook::Create();
  std::shared_ptr<MemorySheet> sheet = book->AddSheet("Sheet1", "KQ");
};

TEST_F(MemoryWorkbookTest, EndUpFindsTheLastNonEmptyCellAtOrAboveInASparseSheet) {
  EXPECT_EQ(LastUsedRow(*sheet, "A1000000"), 1);
  sheet->Set(4, 1, Value::Text("Ngày"));
  sheet->Set(9, 1, Value::Date(38353));
  sheet->Set(20, 2, Value::Text("other column"));
  const std::pair<const char*, int32_t> cases[] = {{"A1000000", 9}, {"A9", 9},        {"A8", 4},
                                                   {"A3", 1},       {"B1048576", 20}, {"C100", 1}};
  for (const auto& [from, row] : cases) EXPECT_EQ(LastUsedRow(*sheet, from), row) << from;
  // the whole sheet is held sparsely
  sheet->Set(1048576, 16384, Value::Text("corner"));
  EXPECT_EQ(CellValue(*sheet, "XFD1048576"), Value::Text("corner"));
  EXPECT_EQ(sheet->rows().size(), 4u);
  EXPECT_EQ(sheet->GetRange("XFD1048576")->Row(), 1048576);
  EXPECT_EQ(testing::ErrorOf([&] { sheet->GetRange("XFD1048576")->Resize(2, 1); }).first, 1004);
}

TEST_F(MemoryWorkbookTest, BlocksAreWrittenWholeAndMustFitTheRangeAndClearsRemoveOnlyTheRange) {
  Block block(2, 3);
  block(1, 1) = Value::Number(1);
  block(2, 3) = Value::Text("x");
  sheet->Set(2, 2, Value::Text("old"));
  sheet->GetRange("A1")->Resize(2, 3)->SetValue(block);
  EXPECT_EQ(sheet->Get(1, 1), Value::Number(1));
  EXPECT_TRUE(sheet->Get(2, 2).IsEmpty()) << "an empty entry clears its cell";
  EXPECT_EQ(sheet->Get(2, 3), Value::Text("x"));
  EXPECT_EQ(testing::ErrorOf([&] { sheet->GetRange("A1:B2")->SetValue(block); }).first, 1004);
  sheet->Set(3, 4, Value::Number(34));
  sheet->GetRange("B1:C2")->ClearContents();
  EXPECT_TRUE(sheet->Get(2, 3).IsEmpty());
  EXPECT_EQ(sheet->Get(1, 1), Value::Number(1));
  EXPECT_EQ(sheet->Get(3, 4), Value::Number(34));
  sheet->GetRange("A1:E5")->ClearContents();
  EXPECT_TRUE(sheet->rows().empty()) << "cleared rows leave no storage behind";
}

// A file writer copies the rows no run changed: every way of changing a row says so.
TEST_F(MemoryWorkbookTest, EveryChangeOfARowIsRemembered) {
  sheet->Set(2, 2, Value::Text("a"));
  sheet->Set(3, 2, Value::Text("b"));
  sheet->Set(9, 1, Value::Text("c"));
  sheet->ForgetChanges();
  EXPECT_FALSE(sheet->modified());
  sheet->Set(7, 7, Value());  // nothing there to clear
  sheet->GetRange("A9:C9")->ClearContents();
  sheet->GetRange("A4:B5")->SetValue(Block(2, 2));  // empty cells where there were none
  Block written(1, 2);
  written(1, 2) = Value::Text("y");
  sheet->GetRange("A8:B8")->SetValue(written);
  sheet->Set(2, 2, Value());
  EXPECT_EQ(sheet->changedRows(), (std::set<int32_t>{2, 8, 9}));
  sheet->ForgetChanges();
  EXPECT_TRUE(sheet->changedRows().empty());
}

TEST_F(MemoryWorkbookTest, NamesResolveToTheirSheetAndBadAddressesNameThemselves) {
  auto settings = book->AddSheet("Sheet2", "CaiDat");
  book->DefineName("BangDai", settings, *ParseAddress("B2:I8"));
  EXPECT_EQ(settings->GetRange("BangDai")->GetValue().rows(), 7);
  EXPECT_EQ(settings->GetRange("bangdai")->GetValue().columns(), 8);
  for (const char* bad : {"BangDai", "NoSuchName", "A0"})
    EXPECT_NE(testing::ErrorOf([&] { sheet->GetRange(bad); }).second.find(bad), std::string::npos) << bad;
}

}  // namespace
}  // namespace pradima
