#pragma once
#include <pugixml.hpp>

#include <cstring>
#include <string>
#include <string_view>

namespace pradima::xlsx {

// How every part is parsed: white space alone is kept where it is all an element holds.
inline constexpr unsigned int kPartParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

// A part of a package as an XML document; raises Error naming the part when
// it is not well-formed, or when it holds what the document would not keep:
// a document type declaration, or a reference other than the five named
// ones and character numbers (the parser would leave it as plain text).
pugi::xml_document ParseXmlPart(const std::string& xml, const std::string& part);
// Where the first reference stands that the parser would leave as plain
// text (npos when none); those in comments, character data sections and
// processing instructions are text already.
size_t FindUnknownReference(std::string_view xml);
// Raises Error naming the part at that reference.
void RefuseUnknownReferences(std::string_view xml, const std::string& part);
// The document as one line of markup, as the parts are stored.
std::string SerializeXml(const pugi::xml_document& doc);
// Appends a node's markup, as SerializeXml writes it, to `out`.
void AppendNodeXml(std::string& out, const pugi::xml_node& node);

// A prefixed or plain element name, compared without its prefix.
inline bool Named(const pugi::xml_node& node, const char* local) {
  const char* name = node.name();
  const char* colon = std::strchr(name, ':');
  return std::strcmp(colon ? colon + 1 : name, local) == 0;
}

// The first child element of that local name, prefixed or plain.
inline pugi::xml_node Child(const pugi::xml_node& node, const char* local) {
  if (pugi::xml_node child = node.child(local)) return child;
  // Prefixed markup ("x:c") is rare; look for it only in a prefixed element.
  if (!std::strchr(node.name(), ':') && node.type() != pugi::node_document) return {};
  for (pugi::xml_node child : node.children())
    if (Named(child, local)) return child;
  return {};
}

// The text of a string item: a plain <t>, or the <t> of each rich-text run <r>.
std::string StringItemText(const pugi::xml_node& item);

}  // namespace pradima::xlsx
