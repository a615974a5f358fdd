#pragma once
#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <span>

namespace pradima::xlsx {

// A cell element of a worksheet part and where it stands.
struct PlacedCell {
  int32_t row, column;
  pugi::xml_node cell;
};

// Keeps the shared formulas of a worksheet sound when some of their cells
// are written anew. A formula filled across cells is stored once, in its
// first cell (the master, with the range it covers); the others refer to it
// by number. When the master goes while other cells of it stay, the first
// of them becomes the master, with the formula moved to it and a range from
// it over the others; one left of that range gets the moved formula of its
// own. A formula that cannot be moved for sure leaves those cells with
// their values.
//
// `cells`: the part's cells with a shared formula, row by row, column by
// column; `stays`: whether a cell is written as it stood. Changes the cell
// elements in place; returns whether a formula had to go from a cell that stays.
bool KeepSharedFormulasSound(std::span<const PlacedCell> cells, const std::function<bool(const PlacedCell&)>& stays);

}  // namespace pradima::xlsx
