// The error text every handler writes, and the line an import loop writes for a record that failed.
#pragma once

#include <string>
#include <string_view>

#include "platform/automation/errors.h"

namespace quillane::modFunction {

// "错误号:" number CR LF "错误源:" source CR LF "错误描述:" description (labels translated); for an error of
// the SQL Server provider, when the statement is known, then CR LF "执行错误的SQL语句:" statement CR LF, its
// literals as an error quotes values (QuotedValuesShownInError).
std::string FormatErrInfo(const AutomationError& oErr, std::string_view strSQL);

// One failed record of an import: strPrefix (the translated text that names the record kind, such as
// "导入结算方式记录(Number:"), strIdentification, the translated ")失败!", CR LF, the FormatErrInfo text,
// CR LF.
std::string ImportErrorLine(std::string_view strPrefix, std::string_view strIdentification, const AutomationError& oErr,
                            std::string_view strSQL);

// The identification of a data record in its error line: number ",Name:" name ",UUID:" UUID, each as an
// error quotes a value (ShownInError).
std::string RecordIdentification(std::string_view strNumber, std::string_view strName, std::string_view strUUID);

}  // namespace quillane::modFunction
