#pragma once
// A chart read back: its rectangles and texts where they stand.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

namespace pradima::testing {

// The chart parsed; a failure to parse fails the test.
inline pugi::xml_document Parsed(const std::string& svg) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_string(svg.c_str());
  EXPECT_TRUE(result) << result.description() << " at " << result.offset << "\n" << svg;
  EXPECT_STREQ(document.document_element().name(), "svg");
  return document;
}

inline double Number(const pugi::xml_node& node, const char* attribute) { return node.attribute(attribute).as_double(); }

// The rectangles that have an id, by id.
inline std::map<std::string, pugi::xml_node> NamedRects(const pugi::xml_document& document) {
  std::map<std::string, pugi::xml_node> rects;
  for (const pugi::xpath_node& found : document.select_nodes("//rect[@id]"))
    rects[found.node().attribute("id").value()] = found.node();
  return rects;
}

// Every text of the chart with where its anchor stands.
struct Label {
  double x, y;
  std::string text;
};
inline std::vector<Label> Labels(const pugi::xml_document& document) {
  std::vector<Label> labels;
  for (const pugi::xpath_node& found : document.select_nodes("//text"))
    labels.push_back({Number(found.node(), "x"), Number(found.node(), "y"), found.node().child_value()});
  return labels;
}

}  // namespace pradima::testing
