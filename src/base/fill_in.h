#pragma once
// Texts whose words a translation may reorder: "{1} of {2}" names its
// values by number rather than by place.
#include <initializer_list>
#include <string>
#include <string_view>

namespace pradima {

// `pattern` with {1}, {2}, ... replaced by the values in that order; a
// brace that names no value given stays as it is.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace pradima
