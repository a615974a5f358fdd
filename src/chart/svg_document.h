#pragma once
// A small writer of SVG pictures: rectangles and text on a white page, the
// text escaped for XML and every number written the same way whatever the
// locale ("12.5", never "12,5").
#include <cstdint>
#include <string>
#include <string_view>

namespace pradima::chart {

struct Rgb {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// "#08306b".
std::string HexColour(const Rgb& colour);

// A length or coordinate: at most two decimals, no trailing zeros, a point as separator.
std::string SvgNumber(double value);

enum class Anchor { Start, Middle, End };

struct TextStyle {
  double size = 12;
  Rgb colour{};
  Anchor anchor = Anchor::Start;
  bool bold = false;
};

class SvgDocument {
 public:
  // A page of `width` by `height` pixels, white, with `title` as the picture's accessible name.
  SvgDocument(double width, double height, std::string_view title);

  // A filled rectangle; `id` names it in the markup when not empty.
  void Rect(double x, double y, double width, double height, const Rgb& fill, std::string_view id = {});
  // A rectangle's outline only.
  void Outline(double x, double y, double width, double height, const Rgb& stroke, double strokeWidth);
  // One line of text whose baseline starts (or, by its anchor, centres or ends) at x, y.
  void Text(double x, double y, std::string_view text, const TextStyle& style);

  // The whole document, an XML declaration first.
  std::string Markup() const;

 private:
  double width_, height_;
  std::string body_;
};

}  // namespace pradima::chart
