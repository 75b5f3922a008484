#include "platform/erp/res_loader.h"

#include "platform/automation/factory.h"

namespace quillane::erp {

void ResLoader::SetResFileBaseName(std::string baseName) {
  CheckResourceSet(baseName, kSource);
  resFileBaseName_ = std::move(baseName);
}

void ResLoader::SetLanguageID(std::string language) { languageID_ = LanguageName(language, kSource); }

std::string ResLoader::LoadString(std::string text) {
  const PoMessages* messages = catalogues_.Get(resDirectory_, languageID_);
  if (messages) {
    if (auto found = messages->find(text); found != messages->end()) return found->second;
  }
  throw AutomationError(kResourceNotFound, kSource,
                        "No " + languageID_ + " text for \"" + text + "\" in " + resFileBaseName_);
}

const DispatchTable& ResLoader::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<ResLoader>()
                                         .get("ResDirectory", 1, &ResLoader::ResDirectory)
                                         .let("ResDirectory", 1, &ResLoader::SetResDirectory)
                                         .get("ResFileBaseName", 2, &ResLoader::ResFileBaseName)
                                         .let("ResFileBaseName", 2, &ResLoader::SetResFileBaseName)
                                         .get("LanguageID", 3, &ResLoader::LanguageID)
                                         .let("LanguageID", 3, &ResLoader::SetLanguageID)
                                         .method("LoadString", 4, &ResLoader::LoadString)
                                         .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Q7ResLoader.Loader", ResLoader)

}  // namespace quillane::erp
