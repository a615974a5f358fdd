// The DLL counts straight from the block the spreadsheet hands over. For
// every kind of cell and every number type, what it reads there must be what
// it would read from the values made of the same block.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "support/win/fake_host.h"
#include "session/memory_workbook.h"
#include "session/win/dispatch_host.h"

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
  const Value cells[] = {
      Value::Text("12307"),
      Value::Text("07"),
      Value::Text("7"),
      Value::Text(""),
      Value(),
      Value::Number(12307),
      Value::Number(7.5),
      Value::Number(-45),
      Value::Date(44197.25),
      Value::Boolean(true),
      Value::Error(-2146826281),
      Value::Text("Thừa Thiên Huế"),
      Value::Text("12ệ4"),
      Value::Text("4ệ"),
      Value::Text("+12 34"),
      Value::Text("0012345678901234567890123"),
      Value::Text("ab"),
      Value::Text("5ệ"),
      Value::Text("45é"),
  };
  int32_t row = 1;
  for (const Value& cell : cells) {
    sheet->Set(row, 1, cell);
    sheet->Set(row, 3, cell);  // and with an empty column between
    ++row;
  }
  auto host = win::DispatchWorkbook(testing::FakeWorkbook(book));
  const auto range = host->WorkSheets().at(0)->GetRange("A1:C" + std::to_string(row - 1));
  const std::unique_ptr<CellTable> direct = range->GetCells();
  const BlockCells values(range->GetValue());
  ASSERT_EQ(direct->rows(), values.rows());
  ASSERT_EQ(direct->columns(), 3);
  for (int32_t r = 1; r <= values.rows(); ++r)
    for (int32_t c = 1; c <= 3; ++c) {
      EXPECT_EQ(Outcome([&] { return direct->HasText(r, c); }), Outcome([&] { return values.HasText(r, c); }))
          << "row " << r << ", column " << c;
      for (int digits = 0; digits <= 3; ++digits)
        EXPECT_EQ(Outcome([&] { return direct->LoOf(r, c, digits); }),
                  Outcome([&] { return values.LoOf(r, c, digits); }))
            << "row " << r << ", column " << c << ", " << digits << " digits";
    }
  // The values themselves, as the count reads them.
  EXPECT_EQ(values.LoOf(1, 1, 2), 7);
  EXPECT_EQ(values.LoOf(1, 1, 3), 307);
  EXPECT_EQ(values.LoOf(6, 1, 2), 7) << "a number by its text";
  EXPECT_EQ(values.LoOf(13, 1, 2), 0) << "'ệ4' begins with no digit";
  EXPECT_EQ(values.LoOf(14, 1, 3), 0);
  EXPECT_FALSE(values.HasText(4, 1));
  EXPECT_FALSE(values.HasText(1, 2));
}

}  // namespace
}  // namespace pradima
