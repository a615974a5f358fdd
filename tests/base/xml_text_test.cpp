#include "base/xml_text.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "support/data_files.h"

namespace pradima {
namespace {

TEST(XmlTextTest, WhateverATextHoldsTheMarkupStaysWellFormedXml) {
  for (const std::vector<std::string>& c : testing::DataTable("escaped-xml-text.tsv")) {
    const std::string escaped = XmlEscaped(c[0]);
    EXPECT_EQ(escaped, c[1]) << c[0];
    const std::string document = "<t a=\"" + escaped + "\">" + escaped + "</t>";
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(document.c_str())) << document;
    EXPECT_FALSE(UnstorableTextProblem(escaped)) << escaped;
  }
}

TEST(XmlTextTest, SaysWhyATextCannotBeStored) {
  for (const std::vector<std::string>& c : testing::DataTable("unstorable-texts.tsv")) {
    const std::optional<std::string> problem = c.size() > 1 ? std::optional(c[1]) : std::nullopt;
    EXPECT_EQ(UnstorableTextProblem(c[0]), problem) << c[0];
  }
}

}  // namespace
}  // namespace pradima
