#pragma once
#include <string>
#include <string_view>

namespace pradima {

// UTF-8 text with the Latin letters and the combining marks Vietnamese uses
// composed canonically (as Unicode's NFC does for them): "Mie\u0302\u0300n"
// as typed on some keyboards becomes "Miền". Other text passes unchanged.
std::string ComposeLatin(std::string_view text);

}  // namespace pradima
