#include "tools/quillane/language.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/automation/vbtext.h"
#include "platform/erp/lang_info.h"

namespace quillane::cli {
namespace {

std::string Configured(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? std::string(Trim(value)) : std::string();
}

// The language of the messages as the locale names it: "language[_TERRITORY][.codeset][@modifier]".
const char* LocaleLanguage() {
  std::string locale;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (locale = Configured(variable); !locale.empty()) break;
  std::string_view name = locale;
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return "chs";
  if (name == "zh_TW" || name == "zh_HK" || name == "zh_MO") return "cht";
  if (name == "zh" || name.starts_with("zh_")) return "chs";
  return "en";
}

}  // namespace

bool KnownLanguage(const char* name) {
  const std::string_view language(name);
  return language == "chs" || language == "en" || language == "cht";
}

void ChooseLanguage(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string_view(argv[i]) == "--lang" && KnownLanguage(argv[i + 1])) {
      setenv("QUILLANE_LANGUAGE", argv[i + 1], 1);
      return;
    }
  if (!erp::ConfiguredLanguage().empty()) return;
  setenv("QUILLANE_LANGUAGE", LocaleLanguage(), 1);
}

}  // namespace quillane::cli
