#include "exchange/modFunction_text.h"

#include <cctype>

#include "exchange/mdlLanguage.h"
#include "platform/automation/errors.h"
#include "platform/automation/vbtext.h"

namespace quillane::modFunction {

std::string BytesToHex(const Variant& vValue) {
  const Bytes* bytes = vValue.tryAs<Bytes>();
  if (!bytes) return "0x0000000000000000";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (std::uint8_t b : *bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::string AfterLastDot(std::string_view strText) {
  std::string rest;
  SplitAtLastDot(strText, rest);
  return rest;
}

std::string SplitAtLastDot(std::string_view strText, std::string& strRest) {
  std::size_t dot = strText.rfind('.');
  if (dot == std::string_view::npos) {
    strRest = std::string(strText);
    return {};
  }
  strRest = std::string(strText.substr(dot + 1));
  return std::string(strText.substr(0, dot));
}

std::string GetFileName(std::string_view strPath) {
  std::size_t separator = strPath.find_last_of("\\/");
  return std::string(separator == std::string_view::npos ? strPath : strPath.substr(separator + 1));
}

std::string AddBackslash(std::string_view strPath) {
  if (strPath.empty() || strPath.back() == '\\' || strPath.back() == '/') return std::string(strPath);
  return std::string(strPath) + "/";
}

std::string EscapeQuotes(std::string_view strText) { return Replace(strText, "'", "''"); }

bool IsTimeStampText(std::string_view strText) {
  // Fewer digits would still run as a statement, comparing the 8-byte row versions with a shorter binary
  // value: a page would come back empty and the caller's paging would end early.
  if (strText.size() != 18 || strText[0] != '0' || (strText[1] != 'x' && strText[1] != 'X')) return false;
  for (char c : strText.substr(2))
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

void RequireTimeStampText(std::string_view strText, std::string_view strSource) {
  if (!IsTimeStampText(strText))
    throw AutomationError(kLibraryRefusal, std::string(strSource),
                          mdlLanguage::LoadLangString("时间戳应为0x后接16位十六进制数字（如0x000000000000A1F3），而不是:") + std::string(strText));
}

}  // namespace quillane::modFunction
