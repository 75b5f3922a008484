// Message translation: every user-visible text is written in simplified Chinese and doubles as the key
// of its translation into the user's language.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/object.h"

namespace quillane::mdlLanguage {

// The translation of strText in the current language; unchanged in simplified Chinese, for a blank
// text and when the loader fails. Blanks around the text are kept. Never raises and leaves the
// thread's pending error (Err()) as it was.
std::string LoadLangString(std::string_view strText);
// "FName" -> "FName_en" / "FName_cht"; unchanged in simplified Chinese.
std::string LangFieldName(std::string_view strText);
std::int16_t GetLanguageID();   // 1 chs, 2 en, 3 cht; asked once per apartment
std::string GetLanguageName();  // "chs", "en", "cht"
std::int16_t QueryLanguage();
ObjectRef GetResLoader(std::string_view strLanguage);  // null when it cannot be created
ObjectRef GetFormResLoader();                          // null when it cannot be created
// Sets a form's captions and font through the form-resource loader; returns the loader's list joined
// with CR LF after each item (what was joined so far when it fails).
std::string LoadFormText(const ObjectRef& frm, const ObjectRef& oExtra);
std::string SetFormFont(const ObjectRef& frm);

// Forgets the cached language and loaders of this apartment, so a test can switch languages.
void ResetForTests();

}  // namespace quillane::mdlLanguage
