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

bool IsDigit(char c, bool hex) {
  return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// Whether the reference at the start of `text` ("&amp;", "&#233;",
// "&#xE9;") is one the parser resolves.
bool KnownReference(std::string_view text) {
  const size_t semicolon = text.substr(0, 40).find(';');
  if (semicolon == std::string_view::npos) return false;
  const std::string_view name = text.substr(1, semicolon - 1);
  if (name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos") return true;
  if (name.size() < 2 || name[0] != '#') return false;
  const bool hex = name[1] == 'x';
  if (hex && name.size() < 3) return false;
  for (char c : name.substr(hex ? 2 : 1))
    if (!IsDigit(c, hex)) return false;
  return true;
}

// Where the comment, character data section or processing instruction
// that starts at `open` ends; for other markup, the place after the '<'.
size_t LiteralEnd(std::string_view xml, size_t open) {
  const std::string_view rest = xml.substr(open);
  std::string_view close;
  if (rest.starts_with("<!--")) close = "-->";
  else if (rest.starts_with("<![CDATA[")) close = "]]>";
  else if (rest.starts_with("<?")) close = "?>";
  else return open + 1;
  const size_t at = xml.find(close, open + 2);
  return at == std::string_view::npos ? xml.size() : at + close.size();
}

}  // namespace

pugi::xml_document ParseXmlPart(const std::string& xml, const std::string& part) {
  pugi::xml_document doc;
  const pugi::xml_parse_result result =
      doc.load_buffer(xml.data(), xml.size(), kPartParseOptions | pugi::parse_doctype);
  if (!result) Fail("the part " + part + " is not well-formed XML: " + result.description());
  for (pugi::xml_node node : doc.children()) {
    if (node.type() == pugi::node_doctype)
      Fail("the part " + part +
           " has a document type declaration (<!DOCTYPE>), which a workbook part may not hold; "
           "pradima does not read it (save the workbook again in the spreadsheet application)");
  }
  RefuseUnknownReferences(xml, part);
  return doc;
}

size_t FindUnknownReference(std::string_view xml) {
  size_t passed = 0;  // the markup before here is read: no comment, section or instruction runs on from it
  for (size_t at = xml.find('&'); at != std::string_view::npos; at = xml.find('&', at + 1)) {
    if (KnownReference(xml.substr(at))) continue;
    bool literal = false;
    for (size_t open = xml.find('<', passed); open < at && !literal; open = xml.find('<', passed)) {
      passed = LiteralEnd(xml, open);
      literal = passed > at;
    }
    if (!literal) return at;
    at = passed - 1;
  }
  return std::string_view::npos;
}

void RefuseUnknownReferences(std::string_view xml, const std::string& part) {
  const size_t at = FindUnknownReference(xml);
  if (at == std::string_view::npos) return;
  const size_t end = xml.find_first_of(";<", at + 1);
  const bool named = end != std::string_view::npos && xml[end] == ';' && end - at < 32;
  Fail("the part " + part + " holds " +
       (named ? "the entity reference " + std::string(xml.substr(at, end - at + 1)) : std::string("a bare &")) +
       ", which pradima cannot keep; only &lt; &gt; &amp; &quot; &apos; and character numbers are read "
       "(save the workbook again in the spreadsheet application)");
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
