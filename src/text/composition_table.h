#pragma once
#include <span>

namespace pradima {

// A letter and a combining mark that compose canonically into one character.
struct Composition {
  char16_t first;
  char16_t mark;
  char16_t composed;
};

// The Latin letters with the marks Vietnamese writes (grave, acute, circumflex,
// tilde, breve, hook above, horn, dot below), ordered by letter then mark.
std::span<const Composition> LatinCompositions();

}  // namespace pradima
