// "Q7ResLoader.Loader": the translated texts of the resource set "Q7Base", from the message catalogues
// (catalogue.h).
//
//   ResDirectory (get, let)     the folder of the catalogues; empty (the default): DataFolder()/lang
//   ResFileBaseName (get, let)  the resource set, "Q7Base" (the default); another name raises error 5
//   LanguageID (get, let)       the language name "chs" (the default), "en" or "cht", in any letter
//                               case; another raises error 5
//   LoadString(text)            the translation of text, looked up exactly as given. Raises
//                               kResourceNotFound when the catalogue has none, and so always in "chs",
//                               which has no catalogue; raises kCatalogueFileError, naming the file, when
//                               the catalogue cannot be read.
// The catalogue is read on the first lookup and kept until the folder or the language changes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/object.h"
#include "platform/erp/catalogue.h"

namespace quillane::erp {

inline constexpr std::int32_t kResourceNotFound = kObjectErrorBase + 1;

class ResLoader : public AutomationObject {
 public:
  static constexpr const char* kSource = "Q7ResLoader.Loader";

  const std::string& ResDirectory() const { return resDirectory_; }
  void SetResDirectory(std::string folder) { resDirectory_ = std::move(folder); }
  const std::string& ResFileBaseName() const { return resFileBaseName_; }
  void SetResFileBaseName(std::string baseName);
  const std::string& LanguageID() const { return languageID_; }
  void SetLanguageID(std::string language);
  std::string LoadString(std::string text);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Loader"; }

 private:
  std::string resDirectory_;
  std::string resFileBaseName_{kResourceSet};
  std::string languageID_ = "chs";
  CatalogueCache catalogues_{kSource};
};

}  // namespace quillane::erp
