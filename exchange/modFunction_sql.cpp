#include "exchange/modFunction_sql.h"

#include <cmath>
#include <optional>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane::modFunction {

std::string Quoted(std::string_view text) { return "'" + EscapeQuotes(text) + "'"; }

namespace {

// The SQL text of a number that IsNumeric accepts. A text keeps its own digits (only the blanks
// around it go, and VB's exponent "D" becomes "E"): read through a double, 123456789012.3456 would
// reach a money column as 123456789012.346. "&H" and "&O" texts are whole numbers a double holds.
std::optional<std::string> numberText(const Variant& value) {
  if (const std::string* text = value.tryAs<std::string>()) {
    std::string digits(Trim(*text));
    if (digits.starts_with('&')) return CStr(Variant(CDbl(value)));
    for (char& c : digits)
      if (c == 'd' || c == 'D') c = 'E';
    return digits;
  }
  if (value.isEmpty()) return "0";
  if (const double* d = value.tryAs<double>()) {
    if (!std::isfinite(*d)) return std::nullopt;
  }
  return CStr(value);
}

}  // namespace

std::string NumberValue(const Variant& value, std::string_view strKey) {
  if (const bool* b = value.tryAs<bool>()) return *b ? "1" : "0";
  if (!value.isNull() && !value.isObject() && IsNumeric(value)) {
    if (std::optional<std::string> text = numberText(value)) return *text;
  }
  std::string shown = value.isNull() ? "Null" : value.isObject() ? TypeName(value) : CStr(value);
  throw AutomationError(kLibraryRefusal, kSqlValueSource,
                        std::string(strKey) + mdlLanguage::LoadLangString("的值必须是数字:") + shown);
}

std::int32_t WholeNumber(const Variant& value, std::string_view strKey, std::int32_t low, std::int32_t high) {
  if (!value.isNull() && !value.isObject() && IsNumeric(value)) {
    double number = CDbl(value);
    if (std::isfinite(number) && number == std::floor(number) && number >= low && number <= high)
      return static_cast<std::int32_t>(number);
  }
  std::string shown = value.isNull() ? "Null" : value.isObject() ? TypeName(value) : CStr(value);
  throw AutomationError(kLibraryRefusal, kSqlValueSource,
                        std::string(strKey) + mdlLanguage::LoadLangString("的值必须是整数") + "(" + std::to_string(low) +
                            ".." + std::to_string(high) + "):" + shown);
}

std::string Identifier(std::string_view strValue, std::string_view strKey) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  bool plain = !strValue.empty() && letter(strValue.front());
  for (char c : strValue) plain = plain && (letter(c) || (c >= '0' && c <= '9'));
  if (!plain)
    throw AutomationError(kLibraryRefusal, kSqlValueSource,
                          std::string(strKey) + mdlLanguage::LoadLangString("的值必须是表名或列名:") + std::string(strValue));
  return std::string(strValue);
}

std::string Literal(const Variant& value) {
  if (value.isNumeric()) return NumberValue(value, "");
  return Quoted(CStr(value));
}

std::string DescendantsOf(std::string_view strNumber) {
  std::string pattern;
  for (char c : strNumber) {
    if (c == '%' || c == '_' || c == '[' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return "FNumber LIKE " + Quoted(pattern + ".%") + " ESCAPE '\\'";
}

}  // namespace quillane::modFunction
