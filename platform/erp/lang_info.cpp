#include "platform/erp/lang_info.h"

#include <cstdlib>

#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"
#include "platform/registry/registry.h"

namespace quillane::erp {

std::string ConfiguredLanguage() {
  std::string language;
  if (const char* configured = std::getenv("QUILLANE_LANGUAGE")) language = Trim(configured);
  if (language.empty()) language = Trim(registry::ReadValue(kLanguageKey, kLanguageValue, ""));
  return language;
}

std::string LangInfo::CurrentLanguage() const {
  const std::string language = ConfiguredLanguage();
  return language.empty() ? "chs" : LCase(language);
}

const DispatchTable& LangInfo::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<LangInfo>().get("CurrentLanguage", 1, &LangInfo::CurrentLanguage).build();
  return table;
}

QUILLANE_REGISTER_CLASS("Q7LangInfo.LangInfo", LangInfo)

}  // namespace quillane::erp
