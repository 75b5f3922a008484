#include "platform/erp/form_lex_loader.h"

#include <functional>

#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"

namespace quillane::erp {
namespace {

struct LanguageFont {
  std::string_view language;
  std::string_view name;
  double size;
};
constexpr LanguageFont kFonts[] = {
    {"chs", "宋体", 9},
    {"cht", "新細明體", 9},
    {"en", "Arial", 9},
};

// Calls visit for the form and then for each of its controls, through the form members of form.h.
void ForFormAndControls(const ObjectRef& form, const std::function<void(AutomationObject&)>& visit) {
  if (!form) throw vbError(VbError::ObjectNotSet, FormLexLoader::kSource);
  visit(*form);
  std::int32_t count = CLng(form->Get("ControlCount"));
  for (std::int32_t i = 0; i < count; ++i) {
    std::vector<Variant> args{Variant(i)};
    visit(*form->Call("Controls", args).object());
  }
}

}  // namespace

std::shared_ptr<TextList> FormLexLoader::LoadFormLexStrings(ObjectRef frm, std::string language,
                                                            std::string resDirectory, std::string baseName,
                                                            ObjectRef oExtra) {
  language = LanguageName(language, kSource);
  CheckResourceSet(baseName, kSource);
  if (!frm) throw vbError(VbError::ObjectNotSet, kSource);  // also where there is nothing to translate
  const PoMessages* messages = catalogues_.Get(resDirectory, language);
  std::vector<std::string> untranslated;
  if (messages) {
    auto caption = [&](AutomationObject& control) {
      std::string builtIn = CStr(control.Get("Caption"));
      std::string_view key = Trim(builtIn);
      if (key.empty()) return;
      if (auto found = messages->find(key); found != messages->end())
        control.Let("Caption", Variant(found->second));
      else
        untranslated.push_back(builtIn);
    };
    ForFormAndControls(frm, caption);
    if (oExtra) ForFormAndControls(oExtra, caption);
  }
  return std::make_shared<TextList>(std::move(untranslated));
}

std::string FormLexLoader::SetFrmFont(ObjectRef frm, std::string language) {
  language = LanguageName(language, kSource);
  const LanguageFont* font = nullptr;
  for (const LanguageFont& f : kFonts)
    if (f.language == language) font = &f;
  ForFormAndControls(frm, [&](AutomationObject& control) {
    control.Let("FontName", Variant(font->name));
    control.Let("FontSize", Variant(font->size));
  });
  return std::string(font->name);
}

const DispatchTable& FormLexLoader::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<FormLexLoader>()
          .method("LoadFormLexStrings", 1, &FormLexLoader::LoadFormLexStrings, {Variant()})
          .method("SetFrmFont", 2, &FormLexLoader::SetFrmFont)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("FormLex.FormLexLoader", FormLexLoader)

}  // namespace quillane::erp
