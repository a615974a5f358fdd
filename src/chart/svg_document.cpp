#include "chart/svg_document.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/concat.h"
#include "base/xml_text.h"

namespace pradima::chart {

std::string HexColour(const Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

std::string SvgNumber(double value) {
  // Rounded first, so that -0.001 is written "0", not "-0".
  double rounded = std::round(value * 100) / 100;
  if (rounded == 0) rounded = 0;
  char text[64];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, 2);
  std::string number(text, end.ptr);
  number.erase(number.find_last_not_of('0') + 1);
  if (number.back() == '.') number.pop_back();
  return number;
}

SvgDocument::SvgDocument(double width, double height, std::string_view title) : width_(width), height_(height) {
  body_ += "<title>";
  AppendXmlEscaped(body_, title);
  body_ += "</title>\n";
  Rect(0, 0, width, height, Rgb{255, 255, 255});
}

void SvgDocument::Rect(double x, double y, double width, double height, const Rgb& fill, std::string_view id) {
  body_ += "<rect";
  if (!id.empty()) {
    body_ += " id=\"";
    AppendXmlEscaped(body_, id);
    body_ += "\"";
  }
  body_ += Concat(" x=\"", SvgNumber(x), "\" y=\"", SvgNumber(y), "\" width=\"", SvgNumber(width), "\" height=\"",
                  SvgNumber(height), "\" fill=\"", HexColour(fill), "\"/>\n");
}

void SvgDocument::Outline(double x, double y, double width, double height, const Rgb& stroke, double strokeWidth) {
  body_ += Concat("<rect x=\"", SvgNumber(x), "\" y=\"", SvgNumber(y), "\" width=\"", SvgNumber(width), "\" height=\"",
                  SvgNumber(height), "\" fill=\"none\" stroke=\"", HexColour(stroke), "\" stroke-width=\"",
                  SvgNumber(strokeWidth), "\"/>\n");
}

void SvgDocument::Text(double x, double y, std::string_view text, const TextStyle& style) {
  static constexpr const char* kAnchors[] = {"start", "middle", "end"};
  body_ += Concat("<text x=\"", SvgNumber(x), "\" y=\"", SvgNumber(y), "\" font-size=\"", SvgNumber(style.size),
                  "\" fill=\"", HexColour(style.colour), "\"");
  if (style.anchor != Anchor::Start) {
    body_ += " text-anchor=\"";
    body_ += kAnchors[static_cast<int>(style.anchor)];
    body_ += "\"";
  }
  if (style.bold) body_ += " font-weight=\"bold\"";
  body_ += ">";
  AppendXmlEscaped(body_, text);
  body_ += "</text>\n";
}

std::string SvgDocument::Markup() const {
  const std::string width = SvgNumber(width_), height = SvgNumber(height_);
  // A font with the Vietnamese letters first; the others are the usual fallbacks.
  return Concat(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"",
      width, "\" height=\"", height, "\" viewBox=\"0 0 ", width, " ", height,
      "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\">\n", body_, "</svg>\n");
}

}  // namespace pradima::chart
