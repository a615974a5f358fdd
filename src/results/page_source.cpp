#include "results/page_source.h"

namespace pradima {

std::string PageUrl(std::string_view site, char region, const CivilDate& day) {
  std::string url(site);
  url += "/tra-cuu-ket-qua-xo-so.html?mien=";
  url += region;
  url += "&thu=0&ngay=" + std::to_string(day.day) + "&thang=" + std::to_string(day.month) +
         "&nam=" + std::to_string(day.year);
  return url;
}

}  // namespace pradima
