// Small text procedures every data class shares: time-stamp text, the parts of dotted numbers, file
// names and folders, and the quoting of texts pasted into statements.
#pragma once

#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace quillane::modFunction {

// "0x" and two upper-case hexadecimal digits per byte, in stored byte order ("0x" alone for an empty
// array); "0x0000000000000000" for anything that is no byte array (Null, as the maximum over an empty
// table gives). Never raises.
std::string BytesToHex(const Variant& vValue);

// The text after the last "."; the whole text without one ("003" of "01.02.003").
std::string AfterLastDot(std::string_view strText);
// The text before the last "." with the rest after it in strRest; without a ".", an empty text and
// strRest the whole text.
std::string SplitAtLastDot(std::string_view strText, std::string& strRest);

// The text after the last "\" or "/": the file name of a path in either spelling.
std::string GetFileName(std::string_view strPath);
// The folder with a separator at its end: "/" is appended unless it already ends in "\" or "/"; an
// empty text stays empty.
std::string AddBackslash(std::string_view strPath);

// The text with each apostrophe doubled, so that it stands between single quotes in a statement as
// itself: "O'Neil" -> "O''Neil".
std::string EscapeQuotes(std::string_view strText);
// True for a time-stamp text a statement may hold: "0x" and exactly 16 hexadecimal digits.
bool IsTimeStampText(std::string_view strText);
// Raises the library's refusal (with strSource) naming the text when it is no time-stamp text, before
// it reaches a statement.
void RequireTimeStampText(std::string_view strText, std::string_view strSource);

}  // namespace quillane::modFunction
