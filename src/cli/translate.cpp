#include "cli/translate.h"

#include <libintl.h>

#include <clocale>
#include <filesystem>
#include <system_error>

#include "base/fill_in.h"

namespace pradima::cli {
namespace {

constexpr const char* kDomain = "pradima";

std::filesystem::path CatalogueFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    std::filesystem::path beside = program.parent_path().parent_path() / "share" / "locale";
    if (std::filesystem::is_directory(beside, error)) return beside;
  }
  return "/usr/share/locale";
}

}  // namespace

void UseTheUsersLanguage() {
  std::setlocale(LC_MESSAGES, "");
  std::setlocale(LC_CTYPE, "");
  bindtextdomain(kDomain, CatalogueFolder().c_str());
  bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* english) { return dgettext(kDomain, english); }

std::string TrFormat(const char* english, std::initializer_list<std::string_view> args) {
  return FillIn(Tr(english), args);
}

}  // namespace pradima::cli
