#include "xlsx/shared_formulas.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "xlsx/moved_formula.h"
#include "xlsx/xml_part.h"
#include "session/address.h"

namespace pradima::xlsx {
namespace {

struct SharedGroup {
  std::optional<PlacedCell> master;
  std::vector<PlacedCell> staying;  // the other cells that stay, in order
};

bool IsShared(const pugi::xml_node& formula) {
  return std::string_view(formula.attribute("t").as_string()) == "shared";
}

// The groups by their number, each with its master (the cell whose formula carries the range).
std::map<std::string, SharedGroup> Groups(std::span<const PlacedCell> cells,
                                          const std::function<bool(const PlacedCell&)>& stays) {
  std::map<std::string, SharedGroup> groups;
  for (const PlacedCell& placed : cells) {
    const pugi::xml_node formula = Child(placed.cell, "f");
    if (!IsShared(formula) || !formula.attribute("si")) continue;
    SharedGroup& group = groups[formula.attribute("si").value()];
    if (formula.attribute("ref") && !group.master) {
      group.master = placed;
    } else if (stays(placed)) {
      group.staying.push_back(placed);
    }
  }
  return groups;
}

// The cell's formula element in place of its own: a copy of the master's, with `text`.
pugi::xml_node ReplaceFormula(const PlacedCell& placed, const pugi::xml_node& masterFormula, const std::string& text) {
  pugi::xml_node cell = placed.cell;
  const pugi::xml_node old = Child(cell, "f");
  pugi::xml_node formula = cell.insert_copy_after(masterFormula, old);
  cell.remove_child(old);
  formula.text().set(text.c_str());
  return formula;
}

// The cell with its value only. The text of a formula is stored as a text of
// its own once the formula is gone.
void DropFormula(pugi::xml_node cell) {
  cell.remove_child(Child(cell, "f"));
  if (std::string_view(cell.attribute("t").as_string()) != "str") return;
  const std::string_view name = cell.name();
  const std::string prefix(name.substr(0, name.find(':') == std::string_view::npos ? 0 : name.find(':') + 1));
  const pugi::xml_node value = Child(cell, "v");
  pugi::xml_node item =
      value ? cell.insert_child_before((prefix + "is").c_str(), value) : cell.append_child((prefix + "is").c_str());
  pugi::xml_node text = item.append_child((prefix + "t").c_str());
  text.append_attribute("xml:space").set_value("preserve");
  text.text().set(value.text().get());
  cell.attribute("t").set_value("inlineStr");
  cell.remove_child(value);
}

// The range from the first staying cell over the others right of it and below.
RangeRef RangeFromFirst(const std::vector<PlacedCell>& staying) {
  const PlacedCell& first = staying.front();
  RangeRef range{{first.row, first.column}, {first.row, first.column}};
  for (const PlacedCell& placed : staying) {
    if (placed.column < first.column) continue;
    range.last.row = std::max(range.last.row, placed.row);
    range.last.column = std::max(range.last.column, placed.column);
  }
  return range;
}

// Gives the group's staying cells a master; false when the formula could not
// be moved for every one of them and went from them all.
bool MoveMaster(const SharedGroup& group) {
  const PlacedCell& master = *group.master;
  const pugi::xml_node masterFormula = Child(master.cell, "f");
  const std::string text = masterFormula.text().get();
  std::vector<std::string> moved;
  for (const PlacedCell& placed : group.staying) {
    auto formula = MoveFormula(text, placed.row - master.row, placed.column - master.column);
    if (!formula || text.empty()) {
      for (const PlacedCell& dropped : group.staying) DropFormula(dropped.cell);
      return false;
    }
    moved.push_back(std::move(*formula));
  }
  const PlacedCell& first = group.staying.front();
  const std::string range = FormatAddress(RangeFromFirst(group.staying));
  ReplaceFormula(first, masterFormula, moved.front()).attribute("ref").set_value(range.c_str());
  // The cells within the range keep referring to the group; one left of it gets a formula of its own.
  for (size_t i = 1; i < group.staying.size(); ++i) {
    if (group.staying[i].column >= first.column) continue;
    pugi::xml_node own = ReplaceFormula(group.staying[i], masterFormula, moved[i]);
    for (const char* attribute : {"t", "ref", "si"}) own.remove_attribute(attribute);
  }
  return true;
}

}  // namespace

bool KeepSharedFormulasSound(std::span<const PlacedCell> cells, const std::function<bool(const PlacedCell&)>& stays) {
  bool formulaWent = false;
  for (const auto& [number, group] : Groups(cells, stays)) {
    if (!group.master || stays(*group.master) || group.staying.empty()) continue;
    if (!MoveMaster(group)) formulaWent = true;
  }
  return formulaWent;
}

}  // namespace pradima::xlsx
