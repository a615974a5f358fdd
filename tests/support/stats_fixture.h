#pragma once
// A standard workbook with helpers to put results rows and the request.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/error.h"
#include "session/memory_workbook.h"
#include "session/session.h"
#include "session/standard_workbook.h"
#include "support/error_of.h"
#include "support/recording_sink.h"
#include "text/telex.h"

namespace pradima::testing {

class StatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.SetApplication(app);
    session.SetWorkbook(book);
    session.BindSheets();
    results = book->SheetByCodeName("Sheet1");
    settings = book->SheetByCodeName("Sheet2");
    control = book->SheetByCodeName("Sheet3");
  }

  // Appends a results row for a day with the given cells (column to value).
  void PutDay(const CivilDate& day, const std::map<int32_t, Value>& cells) {
    const int32_t row = results->LastRowAtOrAbove(1000000, 1) + 1;
    results->Set(row, 1, Value::Date(SerialFromCivil(day)));
    for (const auto& [column, value] : cells) results->Set(row, column, value);
  }

  void Request(const CivilDate& from, const CivilDate& to, const char* regionTelex, const std::string& numberSet,
               const char* weekdayTelex, const std::string& numberType) {
    const Value cells[] = {Value::Date(SerialFromCivil(from)),        Value::Date(SerialFromCivil(to)),
                           Value::Text(TelexToUnicode(regionTelex)),  Value::Text(numberSet),
                           Value::Text(TelexToUnicode(weekdayTelex)), Value::Text(numberType)};
    for (int32_t row = 1; row <= 6; ++row) control->Set(row, 2, cells[row - 1]);
  }

  void ListNumbers(const std::vector<Value>& numbers) {
    control->Clear(*ParseAddress("F3:J10002"));
    for (size_t i = 0; i < numbers.size(); ++i) control->Set(3 + static_cast<int32_t>(i), 6, numbers[i]);
  }

  std::vector<Value> Column(MemorySheet& sheet, int32_t column, int32_t fromRow, int32_t toRow) {
    std::vector<Value> values;
    for (int32_t r = fromRow; r <= toRow; ++r) values.push_back(sheet.Get(r, column));
    return values;
  }

  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2021, 3, 31});
  std::shared_ptr<MemoryApplication> app = std::make_shared<MemoryApplication>();
  std::shared_ptr<MemorySheet> results, settings, control;
  Session session;
  RecordingSink messages;
};

inline std::vector<Value> Texts(std::initializer_list<const char*> texts) {
  std::vector<Value> values;
  for (const char* t : texts) values.push_back(Value::Text(t));
  return values;
}

}  // namespace pradima::testing
