#include "platform/xml/component_text.h"

#include <filesystem>

#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {

std::string ComponentText(const std::string& text) {
  try {
    std::string language = CStr(CreateObject("Q7LangInfo.LangInfo")->Get("CurrentLanguage"));
    if (language.empty() || SameText(language, "chs")) return text;
    ObjectRef loader = CreateObject("Q7ResLoader.Loader");
    loader->Let("LanguageID", Variant(language));
    std::vector<Variant> args{Variant(text)};
    return CStr(loader->Call("LoadString", args));
  } catch (...) {
    return text;
  }
}

std::string SchemaName(const std::string& xsdPath) { return std::filesystem::path(xsdPath).filename().string(); }

}  // namespace quillane
