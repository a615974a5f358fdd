#include "xlsx/xml_part.h"

#include "base/file_error.h"

namespace pradima::xlsx {
namespace {

class StringWriter final : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

 private:
  std::string& out_;
};

}  // namespace

pugi::xml_document ParseXmlPart(const std::string& xml, const std::string& part) {
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_buffer(xml.data(), xml.size(), kPartParseOptions);
  if (!result) Fail("the part " + part + " is not well-formed XML: " + result.description());
  return doc;
}

std::string SerializeXml(const pugi::xml_document& doc) {
  std::string out;
  StringWriter writer(out);
  doc.save(writer, "", pugi::format_raw);
  return out;
}

void AppendNodeXml(std::string& out, const pugi::xml_node& node) {
  StringWriter writer(out);
  node.print(writer, "", pugi::format_raw);
}

std::string StringItemText(const pugi::xml_node& item) {
  if (pugi::xml_node t = Child(item, "t")) return t.text().get();
  std::string text;
  for (pugi::xml_node run : item.children())
    if (Named(run, "r")) text += Child(run, "t").text().get();
  return text;
}

}  // namespace pradima::xlsx
