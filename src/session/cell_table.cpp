#include "session/cell_table.h"

#include <string>

#include "session/conversions.h"

namespace pradima {

int32_t LoOfOther(const Value& cell, int digits) { return cell.IsEmpty() ? 0 : LoOfText(ToText(cell), digits); }

}  // namespace pradima
