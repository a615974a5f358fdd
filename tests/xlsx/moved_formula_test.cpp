// A formula as it reads in another cell: what moves and what stays.
#include "xlsx/moved_formula.h"

#include <gtest/gtest.h>

namespace pradima::xlsx {
namespace {

// None where a moved reference would leave the sheet, or a quote or bracket is left open.
TEST(MovedFormula, RelativePartsMoveAndEverythingElseStays) {
  struct Case {
    const char* formula;
    int32_t rows, columns;
    const char* moved;  // none for no move
  };
  const Case cases[] = {
      {"B6+1", 2, 0, "B8+1"},
      {"$B$6+B$6+$B6+b6", 3, 2, "$B$6+D$6+$B9+D9"},
      {"SUM(A1:B2)*2", 1, 1, "SUM(B2:C3)*2"},
      {"SUM(A:B)+COUNT($C:D)", 4, 1, "SUM(B:C)+COUNT($C:E)"},
      {"SUM(3:4,$5:6)", 2, 7, "SUM(5:6,$5:8)"},
      {"Sheet2!A1+'My sheet'!$B2+'It''s'!C3", 1, 1, "Sheet2!B2+'My sheet'!$B3+'It''s'!D4"},
      {"SUM(Sheet1:Sheet3!A1)", 1, 0, "SUM(Sheet1:Sheet3!A2)"},
      {"LOG10(A1)+ATAN2(A1,1)+DAYS360(A1,B1)", 1, 0, "LOG10(A2)+ATAN2(A2,1)+DAYS360(A2,B2)"},
      {"_xlfn.XLOOKUP(A1,B:B,C:C)", 0, 1, "_xlfn.XLOOKUP(B1,C:C,D:D)"},
      {"IF(A1=\"A1 and \"\"B2\"\"\",1E5,1.5E+3)", 1, 0, "IF(A2=\"A1 and \"\"B2\"\"\",1E5,1.5E+3)"},
      {"Table1[[#This Row],[A1]]+Table1[B2]", 5, 5, "Table1[[#This Row],[A1]]+Table1[B2]"},
      {"[1]Sheet1!A1+BangDai+TAX+TRUE", 1, 0, "[1]Sheet1!A2+BangDai+TAX+TRUE"},
      {"IFERROR(#REF!,#N/A)+#DIV/0!", 1, 1, "IFERROR(#REF!,#N/A)+#DIV/0!"},
      {"XFD1+A1048575", 1, 0, "XFD2+A1048576"},
      {"SUM({1,2;3,4})+A1 B1:C2", 0, 1, "SUM({1,2;3,4})+B1 C1:D2"},
      {"XFE1+ABCD1", 3, 3, "XFE1+ABCD1"},
      {"A1048576", 1, 0, nullptr},
      {"XFD1", 0, 1, nullptr},
      {"B2", -2, 0, nullptr},
      {"A:XFD", 0, 1, nullptr},
      {"1048576:1", 1, 0, nullptr},
      {"\"open", 0, 0, nullptr},
      {"'open!A1", 1, 0, nullptr},
      {"Table1[Col", 0, 0, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MoveFormula(c.formula, c.rows, c.columns), c.moved ? std::optional<std::string>(c.moved) : std::nullopt)
        << c.formula;
}

}  // namespace
}  // namespace pradima::xlsx
