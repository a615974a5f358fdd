#pragma once
// A fixture page grown to about `bytes` with filler markup around its
// table, as real pages carry.
#include <string>

namespace pradima {

inline std::string PaddedPage(std::string page, size_t bytes) {
  std::string filler;
  while (page.size() + 2 * filler.size() < bytes)
    filler += "<p class=\"news\">Xổ số kiến thiết, tin tức và lịch mở thưởng.</p>\n";
  page.insert(page.rfind("</body>"), filler);
  page.insert(page.find("<body>") + 7, filler);
  return page;
}

}  // namespace pradima
