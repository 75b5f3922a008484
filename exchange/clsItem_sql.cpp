#include "exchange/clsItem_sql.h"

#include <cctype>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane::item_sql {
namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Digits with an optional sign and an optional fraction: what SQL Server reads as one number literal.
bool isDecimalText(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::size_t digits = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i == digits) return false;
  if (i < text.size() && text[i] == '.') {
    std::size_t fraction = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == fraction) return false;
  }
  return i == text.size();
}

}  // namespace

std::string Quoted(std::string_view text) { return "'" + modFunction::EscapeQuotes(text) + "'"; }

std::string NumberValue(const Variant& value, std::string_view strKey) {
  switch (value.type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Currency: return CStr(value);
    case VarType::String: {
      std::string_view text = Trim(value.as<std::string>());
      if (isDecimalText(text)) return std::string(text);
      break;
    }
    default: break;
  }
  std::string shown = value.isNull() ? "Null" : value.isObject() ? "(" + TypeName(value) + ")" : CStr(value);
  throw AutomationError(kLibraryRefusal, kSource,
                        mdlLanguage::LoadLangString("数值字段的值不是数字:") + std::string(strKey) + "=" + shown);
}

std::string DescendantsOf(std::string_view strNumber) {
  std::string pattern;
  for (char c : strNumber) {
    if (c == '%' || c == '_' || c == '[' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return "FNumber LIKE " + Quoted(pattern + ".%") + " ESCAPE '\\'";
}

std::string ItemByNumber(std::int32_t lItemClassID, std::string_view strNumber) {
  return "Select FItemID ,FName, FDetail from t_Item Where FItemClassID=" + std::to_string(lItemClassID) + " AND " +
         "FNumber=" + Quoted(strNumber);
}

std::string ItemByNumberAndName(std::int32_t lItemClassID, std::string_view strNumber, std::string_view strName) {
  return ItemByNumber(lItemClassID, strNumber) + " AND FName=" + Quoted(strName);
}

std::string NewItemRow(std::int32_t lItemClassID, int iLevel, int iDetail, std::string_view strNumber,
                       std::string_view strName) {
  return "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (" +
         std::to_string(lItemClassID) + "," + std::to_string(iLevel) + "," + std::to_string(iDetail) + ",0," +
         Quoted(strNumber) + "," + Quoted(strName) + ")";
}

}  // namespace quillane::item_sql
