// The DLL counts straight from the block the spreadsheet hands over. For
// every kind of cell and every number type, what it reads there must be what
// it would read from the values made of the same block, which are the values
// put in.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "session/memory_workbook.h"
#include "session/win/dispatch_host.h"
#include "support/data_files.h"
#include "support/win/fake_host.h"

namespace pradima {
namespace {

// What a read gives: its result, or the error it raises.
template <typename Read>
std::string Outcome(Read read) {
  try {
    return std::to_string(read());
  } catch (const Error& e) {
    return std::string("error: ") + e.what();
  }
}

TEST(DispatchCells, ReadWhereTheyLieAsFromTheirValues) {
  auto book = MemoryWorkbook::Create();
  auto sheet = book->AddSheet("Sheet1", "KetQua");
  // Cells of every kind but text, then the texts of the table.
  std::vector<Value> cells{
      Value(),
      Value::Number(12307),
      Value::Number(7.5),
      Value::Number(-45),
      Value::Date(44197.25),
      Value::Boolean(true),
      Value::Error(-2146826281),
  };
  for (const auto& text : testing::DataTable("dispatch-cell-texts.tsv")) cells.push_back(Value::Text(text.at(0)));
  int32_t row = 1;
  for (const Value& cell : cells) {
    sheet->Set(row, 1, cell);
    sheet->Set(row++, 3, cell);  // and with an empty column between
  }
  auto host = win::DispatchWorkbook(testing::FakeWorkbook(book));
  const auto range = host->WorkSheets().at(0)->GetRange("A1:C" + std::to_string(row - 1));
  const std::unique_ptr<CellTable> direct = range->GetCells();
  const Block block = range->GetValue();
  const BlockCells values(block);
  ASSERT_EQ(direct->rows(), values.rows());
  ASSERT_EQ(direct->columns(), 3);
  for (int32_t r = 1; r <= values.rows(); ++r)
    for (int32_t c = 1; c <= 3; ++c) {
      EXPECT_EQ(block(r, c), c == 2 ? Value() : cells[r - 1]) << "row " << r << ", column " << c;
      EXPECT_EQ(Outcome([&] { return direct->HasText(r, c); }), Outcome([&] { return values.HasText(r, c); }))
          << "row " << r << ", column " << c;
      for (int digits = 0; digits <= 3; ++digits)
        EXPECT_EQ(Outcome([&] { return direct->LoOf(r, c, digits); }),
                  Outcome([&] { return values.LoOf(r, c, digits); }))
            << "row " << r << ", column " << c << ", " << digits << " digits";
    }
}

}  // namespace
}  // namespace pradima
