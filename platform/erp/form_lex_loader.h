// "FormLex.FormLexLoader": the captions and font of the library's forms (form.h) in the user's language.
//
//   LoadFormLexStrings(frm, language, resDirectory, baseName, oExtra) -> TextList
//       Sets the caption of frm and of each of its controls to the translation of its built-in caption
//       (the simplified-Chinese text, looked up without the blanks around it) from the catalogue of
//       language in resDirectory (empty: DataFolder()/lang). oExtra, when it is not Nothing, is a
//       further object with the form members, captioned the same way. Returns the built-in captions
//       that have no translation, in form order, for a translator to add; in "chs" nothing changes and
//       the list is empty. Raises error 5 for an unknown language or resource set (baseName must be
//       "Q7Base"), kCatalogueFileError naming the file when the catalogue cannot be read, error 91 for a
//       form that is Nothing, and whatever the form's members raise.
//   SetFrmFont(frm, language) -> String
//       Sets the font of frm and of all its controls to the language's font and returns its name:
//       "宋体" for chs, "新細明體" for cht, "Arial" for en, all at 9 points.
#pragma once

#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/erp/catalogue.h"
#include "platform/erp/text_list.h"

namespace quillane::erp {

class FormLexLoader : public AutomationObject {
 public:
  static constexpr const char* kSource = "FormLex.FormLexLoader";

  std::shared_ptr<TextList> LoadFormLexStrings(ObjectRef frm, std::string language, std::string resDirectory,
                                               std::string baseName, ObjectRef oExtra);
  std::string SetFrmFont(ObjectRef frm, std::string language);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "FormLexLoader"; }

 private:
  CatalogueCache catalogues_{kSource};
};

}  // namespace quillane::erp
