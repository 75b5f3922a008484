// "Q7LangInfo.LangInfo": the user's current language, as the ERP's language component reports it.
//
//   CurrentLanguage (get)   QUILLANE_LANGUAGE when it is set and not blank, else the registry value
//                           "Language" under "HKEY_LOCAL_MACHINE\SOFTWARE\VELMORA\ZIVOVIZIRADE", else
//                           "chs"; trimmed and in lower case ("chs", "en", "cht" are the names the ERP
//                           uses; another text is handed on as it is). Read anew on every call; an
//                           unreadable registry file raises its error.
#pragma once

#include <string>

#include "platform/automation/object.h"

namespace quillane::erp {

inline constexpr const char* kLanguageKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE";
inline constexpr const char* kLanguageValue = "Language";

// QUILLANE_LANGUAGE when it is set and not blank, else the registry value, trimmed; empty when neither
// names a language.
std::string ConfiguredLanguage();

class LangInfo : public AutomationObject {
 public:
  std::string CurrentLanguage() const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "LangInfo"; }
};

}  // namespace quillane::erp
