// A reader of gettext PO catalogues, as far as the message catalogues use them:
//
//   # translator comment           (any line starting with "#"; "#, fuzzy" marks the next entry)
//   msgid "源文本"
//   msgstr ""
//   "translation, continued on "   (adjacent strings are joined)
//   "the next line\n"
//
// Strings take the C escapes \n \t \r \" \\ \a \b \f \v, octal \ooo and hexadecimal \xhh. The header
// (the entry whose msgid is empty), fuzzy entries and entries without a translation are left out, as
// gettext leaves them out. Contexts and plural forms are not used by the catalogues and are refused.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillane::erp {

// The first fault of a catalogue: its 1-based line and what is wrong there.
class PoSyntaxError : public std::runtime_error {
 public:
  PoSyntaxError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

using PoMessages = std::map<std::string, std::string, std::less<>>;

// msgid -> msgstr of every translated entry. Raises PoSyntaxError, also for a msgid given twice.
PoMessages ParsePo(std::string_view text);

}  // namespace quillane::erp
