#include "base/xml_text.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>


namespace pradima {
namespace {

TEST(XmlTextTest, WhateverATextHoldsTheMarkupStaysWellFormedXml) {
  struct Case {
    std::string text;
    std::string escaped;
  };
  const Case cases[] = {
      {"Thứ Hai", "Thứ Hai"},
      {"a<b & c>\"d\"", "a&lt;b &amp; c&gt;&quot;d&quot;"},
      {"tab\tline\n", "tab\tline\n"},
      {"carriage\rreturn", "carriage&#13;return"},
      {std::string("bell\x07", 5), "bell\xEF\xBF\xBD"},
      {std::string("nul\0end", 7),
       "nul\xEF\xBF\xBD"
       "end"},
      {"Th\xE9 Hai", "Th\xEF\xBF\xBD Hai"},                      // a Latin-1 byte
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an overlong slash
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD"},                          // U+FFFE
      {"\xF0\x9F\x8E\xB2", "\xF0\x9F\x8E\xB2"},                  // an emoji, outside the BMP
      {"cut \xE1\xBB", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    const std::string escaped = XmlEscaped(c.text);
    EXPECT_EQ(escaped, c.escaped) << c.text;
    const std::string document = "<t a=\"" + escaped + "\">" + escaped + "</t>";
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(document.c_str())) << document;
    EXPECT_FALSE(UnstorableTextProblem(escaped)) << escaped;
  }
}

TEST(XmlTextTest, SaysWhyATextCannotBeStored) {
  struct Case {
    std::string text;
    const char* problem;  // none when it can be stored
  };
  const Case cases[] = {
      {"Thứ Hai", nullptr},
      {"2 Con", nullptr},
      {"line\nbreak\ttab", nullptr},
      {"Th\xE9 Hai", "is not valid UTF-8 (byte 3)"},
      {"\xC3", "is not valid UTF-8 (byte 1)"},
      {std::string("a\x01", 2), "holds the character U+0001, which a workbook cannot store"},
      {"\x1B[31m", "holds the character U+001B, which a workbook cannot store"},
      {"\xEF\xBF\xBF", "holds the character U+FFFF, which a workbook cannot store"},
  };
  for (const Case& c : cases) {
    const auto problem = UnstorableTextProblem(c.text);
    if (c.problem) {
      ASSERT_TRUE(problem) << c.text;
      EXPECT_EQ(*problem, c.problem);
    } else {
      EXPECT_FALSE(problem) << *problem;
    }
  }
}

}  // namespace
}  // namespace pradima
