#include "exchange/modFunction_errors.h"

#include "exchange/mdlLanguage.h"
#include "platform/automation/error_text.h"
#include "platform/sql/errors.h"

namespace quillane::modFunction {

using mdlLanguage::LoadLangString;

std::string FormatErrInfo(const AutomationError& oErr, std::string_view strSQL) {
  std::string text = LoadLangString("错误号:") + std::to_string(oErr.number) + "\r\n" + LoadLangString("错误源:") +
                     oErr.source + "\r\n" + LoadLangString("错误描述:") + oErr.description;
  if (oErr.source == sql::kProviderSource && !strSQL.empty())
    text += "\r\n" + LoadLangString("执行错误的SQL语句:") + QuotedValuesShownInError(strSQL) + "\r\n";
  return text;
}

std::string ImportErrorLine(std::string_view strPrefix, std::string_view strIdentification, const AutomationError& oErr,
                            std::string_view strSQL) {
  return std::string(strPrefix) + std::string(strIdentification) + LoadLangString(")失败!") + "\r\n" +
         FormatErrInfo(oErr, strSQL) + "\r\n";
}

std::string RecordIdentification(std::string_view strNumber, std::string_view strName, std::string_view strUUID) {
  return ShownInError(strNumber) + ",Name:" + ShownInError(strName) + ",UUID:" + ShownInError(strUUID);
}

}  // namespace quillane::modFunction
