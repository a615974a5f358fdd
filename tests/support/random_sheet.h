#pragma once
// Random worksheet parts as writers lay them out, for tests that read or
// rewrite one part two ways and compare: rows with and without numbers,
// spans and heights, rows without cells; cells with and without references,
// formats and formulas, of every type, a few with values that do not read.
#include <random>
#include <string>

#include "session/address.h"

namespace pradima::testing {

class RandomSheets {
 public:
  explicit RandomSheets(unsigned seed) : random_(seed) {}

  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  // A whole part; prefixed, its elements carry the prefix "x:"; with oddNumbers, some numbers do not read as
  // numbers. lastRow gets the number of its last row.
  std::string Next(const std::string& codeName, bool prefixed, bool oddNumbers, int32_t& lastRow) {
    const std::string p = prefixed ? "x:" : "";
    const auto element = [&p](const std::string& name, const std::string& content) {
      return "<" + p + name + ">" + content + "</" + p + name + ">";
    };
    static const char* const texts[] = {"07", "Miền Nam", "a &amp; b", "&#x1EA1;", "&lt;x&gt;", " lead", "", "12345"};
    static const char* const numbers[] = {"1", "46000", "-2.5", "1e-3", "nan", "7abc", "", " 3"};
    std::string rows;
    int32_t row = 0;
    for (int r = 0, count = Pick(12); r < count; ++r) {
      if (r == 0 || Pick(8)) row += 1 + Pick(3);  // now and then a row repeats the number of the one before
      rows += "<" + p + "row";
      if (Pick(8)) rows += " r=\"" + std::to_string(row) + "\"";
      if (Pick(2)) rows += " spans=\"1:9\"";
      if (!Pick(4)) rows += " ht=\"20\" customHeight=\"1\"";
      if (!Pick(6)) {
        rows += "/>";  // a row without cells, as writers store a row's height
        continue;
      }
      rows += ">";
      int32_t column = 0;
      for (int c = 0, cells = Pick(7); c < cells; ++c) {
        column = Pick(8) ? column + 1 + Pick(3) : 1 + Pick(30);  // now and then out of order
        rows += "<" + p + "c";
        if (Pick(8)) rows += " r=\"" + ColumnLetters(column) + std::to_string(row) + "\"";
        if (!Pick(3)) rows += " s=\"" + std::to_string(Pick(3)) + "\"";
        switch (Pick(7)) {
          case 0: rows += " t=\"inlineStr\">" + element("is", element("t", texts[Pick(8)])); break;
          case 1: rows += " t=\"s\">" + element("v", std::to_string(Pick(4))); break;
          case 2: rows += " t=\"b\">" + element("v", Pick(2) ? "1" : "0"); break;
          case 3: rows += " t=\"str\">" + element("f", "A1") + element("v", texts[Pick(8)]); break;
          case 4: rows += ">" + element("f", "A1+1") + element("v", "2"); break;
          case 5: rows += "/>"; continue;
          default: rows += ">" + element("v", numbers[Pick(oddNumbers ? 8 : 4)]);
        }
        rows += "</" + p + "c>";
      }
      rows += "</" + p + "row>";
    }
    lastRow = row;
    return "<" + p + "worksheet xmlns" + (prefixed ? ":x" : "") +
           "=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><" + p + "sheetPr codeName=\"" + codeName +
           "\"/><" + p + "dimension ref=\"A1\"/>" + element("sheetData", rows) + "<" + p +
           "pageMargins left=\"0.7\"/></" + p + "worksheet>";
  }

 private:
  std::mt19937 random_;
};

}  // namespace pradima::testing
