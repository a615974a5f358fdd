// The list a count runs on: the user's own list, tidied and saved, and entries it cannot count.
#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

const std::string kCustom = TelexToUnicode(terms::kCustomTelex);
constexpr int32_t kListColumn = 6;  // F

std::vector<Value> Texts(std::initializer_list<const char*> texts) {
  std::vector<Value> values;
  for (const char* text : texts) values.push_back(Value::Text(text));
  return values;
}

// Column `column` of a sheet from `first` down to its last cell.
std::vector<Value> ColumnFrom(const MemorySheet& sheet, int32_t first, int32_t column) {
  std::vector<Value> values;
  for (int32_t row = first; row <= sheet.LastRowAtOrAbove(kMaxRows, column); ++row)
    values.push_back(sheet.Get(row, column));
  return values;
}

// The custom set ("--set Tùy Chọn") counts the list typed in column F, tidied for the type and saved on the
// settings sheet too (P for two digits, AD for three); other sets count the list as it stands. Entries that
// cannot be counted are named once; with nothing listed, the run says so.
TEST_F(CliTest, TheListInColumnFIsCountedAndWhatItCannotCountIsNamedOnce) {
  struct Case {
    const char* type;
    bool custom;
    std::vector<Value> typed;
    std::vector<Value> listed;  // in column F after the count; for a custom list, also on the settings sheet
    std::string warned;         // empty: nothing said
  };
  const Case cases[] = {
      {"2 Con", true, Texts({"07", "12", "345", "1207"}), Texts({"07", "12", "34", "45"}), ""},
      {"3 Con", true, Texts({"007", "123", "999"}), Texts({"007", "123", "999"}), ""},
      {"2 Con",
       false,
       {Value::Text("07"), Value::Text("123"), Value::Text(" 12 "), Value::Number(5), Value::Text("7a"),
        Value::Number(2.5), Value::Number(100)},
       {},
       "pradima: not counted, being no number of 2 digits (\"2 Con\"): \"123\", \"7a\", \"2.5\", \"100\"\n"},
      {"3 Con", false, Texts({"123", "1000"}), {}, "pradima: not counted, being no number of 3 digits (\"3 Con\"): \"1000\"\n"},
      {"2 Con", false, Texts({"00", "99"}), {}, ""},
      {"2 Con", true, Texts({"07", "7a", "12"}), Texts({"07", "12"}),
       "pradima: not counted, being no number of 2 digits (\"2 Con\"): \"7a\"\n"},
      {"2 Con", false, {}, {}, "pradima: no numbers are listed from F3 of the control sheet; choose a set with --set, or lay one out with "
       "pradima numbers\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.warned);
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    fs::copy_file(Created(), book);
    {
      // Typed into F3 down, as a user does; the type first, without a set that lays the list out anew.
      XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
      const auto control = workbook.book()->SheetByCodeName("Sheet3");
      control->Set(6, 2, Value::Text(c.type));
      for (int32_t row = 3; row <= 1002; ++row) control->Set(row, kListColumn, Value());
      for (size_t i = 0; i < c.typed.size(); ++i) control->Set(3 + static_cast<int32_t>(i), kListColumn, c.typed[i]);
      workbook.Save();
    }
    std::vector<std::string> args = {"stats", book.string()};
    if (c.custom) args.insert(args.end(), {"--set", kCustom, "--type", c.type});
    const Outcome r = Run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, c.warned);
    XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
    const auto control = saved.book()->SheetByCodeName("Sheet3");
    EXPECT_EQ(ColumnFrom(*control, 3, kListColumn), c.custom ? c.listed : c.typed);
    if (c.custom) {
      EXPECT_EQ(control->Get(4, 2), Value::Text(kCustom));
      EXPECT_EQ(ColumnFrom(*saved.book()->SheetByCodeName("Sheet2"), 2, c.type[0] == '2' ? 16 : 30), c.listed);
    }
  }
}

}  // namespace
}  // namespace pradima::cli
