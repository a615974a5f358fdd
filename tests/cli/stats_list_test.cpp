// The list a count runs on: the user's own list, numbers given on the command line, entries it cannot count.
#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

const std::string kCustom = TelexToUnicode(terms::kCustomTelex);
constexpr int32_t kListColumn = 6;              // F
constexpr int32_t kSavedTwoDigitColumn = 16;    // P
constexpr int32_t kSavedThreeDigitColumn = 30;  // AD

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

// Types a list into F3 down, replacing what was there, as a user does.
void TypeList(const fs::path& book, const std::vector<Value>& entries) {
  XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
  const auto control = workbook.book()->SheetByCodeName("Sheet3");
  for (int32_t row = 3; row <= 1002; ++row) control->Set(row, kListColumn, Value());
  for (size_t i = 0; i < entries.size(); ++i) control->Set(3 + static_cast<int32_t>(i), kListColumn, entries[i]);
  workbook.Save();
}

TEST_F(CliTest, TheCustomSetCountsTheListTypedInColumnF) {
  struct Case {
    const char* type;
    std::vector<Value> typed;
    std::vector<Value> listed;  // after the count, also saved on the settings sheet
    int32_t savedColumn;
  };
  const Case cases[] = {
      {"2 Con", Texts({"07", "12", "345", "1207"}), Texts({"07", "12", "34", "45"}), kSavedTwoDigitColumn},
      {"3 Con", Texts({"007", "123", "999"}), Texts({"007", "123", "999"}), kSavedThreeDigitColumn},
  };
  for (const Case& c : cases) {
    const fs::path book = directory / (std::string(c.type) + ".xlsx");
    fs::copy_file(Created(), book);
    TypeList(book, c.typed);
    const Outcome r = Run({"stats", book.string(), "--set", kCustom, "--type", c.type});
    ASSERT_EQ(r.code, 0) << r.err;
    XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
    const auto control = saved.book()->SheetByCodeName("Sheet3");
    EXPECT_EQ(control->Get(4, 2), Value::Text(kCustom));
    EXPECT_EQ(control->Get(6, 2), Value::Text(c.type));
    EXPECT_EQ(ColumnFrom(*control, 3, kListColumn), c.listed) << c.type;
    EXPECT_EQ(ColumnFrom(*saved.book()->SheetByCodeName("Sheet2"), 2, c.savedColumn), c.listed) << c.type;
  }
}

// A blank entry lists no number: no counts beside it, no row in a report.
TEST_F(CliTest, ABlankListEntryHasNoRowInTheReports) {
  const fs::path book = Created();
  TypeList(book, {Value::Text("07"), Value(), Value::Text("12")});
  const Outcome r = Run({"stats", book.string(), "--format", "csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "number,days,appearances\n07,,\n12,,\n");
}

TEST_F(CliTest, ListedEntriesThatCannotBeCountedAreNamedOnce) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    std::vector<Value> typed;
    std::string named;  // empty: no such line
  };
  std::vector<Value> pastTheList(10001, Value::Text("123"));
  pastTheList.push_back(Value());
  pastTheList.push_back(Value::Text("456"));
  const Case cases[] = {
      {"past F10000",
       {"--type", "3 Con"},
       pastTheList,
       "not counted, being below F10000 where the count stops reading the list: 4 entries down to F10005\n"},
      {"two digits",
       {"--type", "2 Con"},
       {Value::Text("07"), Value::Text("123"), Value::Text(" 12 "), Value::Number(5), Value::Text("7a"),
        Value::Number(2.5), Value::Number(100)},
       "not counted, as they are not 2-digit numbers (\"2 Con\"): \"123\", \"7a\", \"2.5\", \"100\"\n"},
      {"three digits",
       {"--type", "3 Con"},
       {Value::Text("123"), Value::Text("1000")},
       "not counted, as they are not 3-digit numbers (\"3 Con\"): \"1000\"\n"},
      {"all counted", {"--type", "2 Con"}, Texts({"00", "99"}), ""},
      {"a custom list leaves out what is no number",
       {"--set", kCustom, "--type", "2 Con"},
       Texts({"07", "7a", "12"}),
       "not counted, as they are not 2-digit numbers (\"2 Con\"): \"7a\"\n"},
  };
  for (const Case& c : cases) {
    const fs::path book = directory / (std::string(c.name) + ".xlsx");
    fs::copy_file(Created(), book);
    {
      // The type first, without a set that lays the list out anew.
      XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
      workbook.book()->SheetByCodeName("Sheet3")->Set(6, 2, Value::Text(c.options.back()));
      workbook.Save();
    }
    TypeList(book, c.typed);
    std::vector<std::string> args = {"stats", book.string()};
    if (c.options.size() > 2) args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = Run(args);
    ASSERT_EQ(r.code, 0) << c.name << ": " << r.err;
    const size_t line = r.err.find("pradima: not counted");
    if (c.named.empty()) {
      EXPECT_EQ(line, std::string::npos) << c.name << ": " << r.err;
      continue;
    }
    EXPECT_NE(r.err.find("pradima: " + c.named), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(r.err.find("not counted", line + c.named.size()), std::string::npos) << c.name << ": said once\n"
                                                                                   << r.err;
  }
}

}  // namespace
}  // namespace pradima::cli
