#include "exchange/mdlLanguage.h"

#include "platform/automation/automation.h"

namespace quillane::mdlLanguage {
namespace {

constexpr std::int16_t kSimplifiedChinese = 1;
constexpr std::int16_t kEnglish = 2;
constexpr std::int16_t kTraditionalChinese = 3;

// The module's state, once per apartment: thread_local, since an apartment is a thread here.
struct ModuleState {
  std::int16_t languageID = 0;  // 0 until the language component was asked
  ObjectRef resLoader;
  ObjectRef formResLoader;
};
thread_local ModuleState state;

std::size_t LeadingBlanks(std::string_view s) { return s.size() - LTrim(s).size(); }
std::size_t TrailingBlanks(std::string_view s) { return s.size() - RTrim(s).size(); }

}  // namespace

std::string LoadLangString(std::string_view strText) {
  // Callers build messages inside their error handlers: the error they are handling must still be
  // there afterwards, whatever the loader raised or left behind.
  const ErrState pending = Err();
  std::string result(strText);
  try {
    if (GetLanguageID() != kSimplifiedChinese && !Trim(strText).empty()) {
      ObjectRef loader = GetResLoader("");
      if (!loader) throw vbError(VbError::ObjectNotSet);
      std::vector<Variant> args{Variant(Trim(strText))};
      std::string loaded = CStr(loader->Call("LoadString", args));
      // The catalogues hold the bare text; the spacing belongs to the place the text is used in.
      result = std::string(LeadingBlanks(strText), ' ') + loaded + std::string(TrailingBlanks(strText), ' ');
    }
  } catch (...) {
    result = std::string(strText);
  }
  Err() = pending;
  return result;
}

std::string LangFieldName(std::string_view strText) {
  std::string language = GetLanguageName();
  if (language == "chs") return std::string(strText);
  return std::string(Trim(strText)) + "_" + language;
}

std::int16_t GetLanguageID() {
  if (state.languageID == 0) state.languageID = QueryLanguage();
  return state.languageID;
}

std::string GetLanguageName() {
  switch (GetLanguageID()) {
    case kEnglish: return "en";
    case kTraditionalChinese: return "cht";
    default: return "chs";
  }
}

std::int16_t QueryLanguage() {
  try {
    std::string current = CStr(CreateObject("Q7LangInfo.LangInfo")->Get("CurrentLanguage"));
    if (current == "cht") return kTraditionalChinese;
    if (current == "en") return kEnglish;
  } catch (...) {
    // No language component, or one that fails: the texts stay in their source language.
  }
  return kSimplifiedChinese;
}

ObjectRef GetResLoader(std::string_view strLanguage) {
  try {
    if (!state.resLoader) {
      ObjectRef loader = CreateObject("Q7ResLoader.Loader");
      loader->Let("ResDirectory", Variant(""));
      loader->Let("ResFileBaseName", Variant("Q7Base"));
      state.resLoader = loader;
    }
    state.resLoader->Let("LanguageID", Variant(strLanguage.empty() ? GetLanguageName() : std::string(strLanguage)));
    return state.resLoader;
  } catch (...) {
    return nullptr;
  }
}

ObjectRef GetFormResLoader() {
  try {
    if (!state.formResLoader) state.formResLoader = CreateObject("FormLex.FormLexLoader");
    return state.formResLoader;
  } catch (...) {
    return nullptr;
  }
}

std::string LoadFormText(const ObjectRef& frm, const ObjectRef& oExtra) {
  std::string joined;
  try {
    SetFormFont(frm);
    ObjectRef loader = GetFormResLoader();
    if (!loader) throw vbError(VbError::ObjectNotSet);
    std::vector<Variant> args{Variant(frm), Variant(GetLanguageName()), Variant(""), Variant("Q7Base"),
                              Variant(oExtra)};
    ObjectRef list = loader->Call("LoadFormLexStrings", args).object();
    std::int32_t last = CLng(list->Get("UBound"));
    for (std::int32_t i = CLng(list->Get("LBound")); i <= last; ++i) {
      std::vector<Variant> index{Variant(i)};
      joined += CStr(list->Call("Item", index)) + "\r\n";
    }
  } catch (...) {
    // A failing loader leaves the form with its built-in captions.
  }
  return joined;
}

std::string SetFormFont(const ObjectRef& frm) {
  try {
    ObjectRef loader = GetFormResLoader();
    if (!loader) throw vbError(VbError::ObjectNotSet);
    std::vector<Variant> args{Variant(frm), Variant(GetLanguageName())};
    return CStr(loader->Call("SetFrmFont", args));
  } catch (...) {
    return {};
  }
}

void ResetForTests() { state = ModuleState{}; }

}  // namespace quillane::mdlLanguage
