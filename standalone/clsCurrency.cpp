#include "standalone/clsCurrency.h"

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane::standalone {
namespace {

constexpr Field kFields[] = {
    {.key = "Name", .column = "FName", .fallback = "''"},
    {.key = "Number", .column = "FNumber", .fallback = "''"},
    {.key = "ExchangeRate", .column = "FExchangeRate", .out = Out::Stored, .in = In::Number, .fallback = "1"},
    {.key = "Operator", .column = "FOperator", .out = Out::Stored, .in = In::Own},
    {.key = "Scale", .column = "FScale", .out = Out::Stored, .in = In::Number, .fallback = "2"},
    {.key = "IsFixRate", .column = "FFixRate", .out = Out::Stored, .in = In::Own},
    {.key = "UUID", .column = "UUID"},
};

constexpr std::int16_t kCompanionTypes[] = {120};

constexpr StandaloneType kCurrency = {
    .className = "clsCurrency",
    .typeName = "Currency",
    .table = "t_Currency",
    .keyColumn = "FCurrencyID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM t_Currency WHERE FDeleted=0 AND FCurrencyID <> 0 ",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM t_Currency WHERE FDeleted=0 AND FCurrencyID <> 0 ",
    .errorPrefix = "导入币别记录(Number:",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kFields,
    .companionTypes = kCompanionTypes,
};

}  // namespace

clsCurrency::clsCurrency() : StandaloneClass(kCurrency) {}

std::optional<std::string> clsCurrency::OwnValue(const Field& field, const TrzRecord& record) {
  if (SameText(field.key, "Operator")) {
    Variant op = record.GetValue(field.key, Variant("*"));
    return std::string(!op.isNull() && CStr(op) == "*" ? "'*'" : "'/'");
  }
  // An empty flag is an unset one; a text that no Boolean reads fails the record, naming the key.
  if (!record.Exists(field.key) || Trim(modFunction::RecordText(record, field.key)).empty()) return "0";
  try {
    return std::string(CBool(record.Item(field.key)) ? "1" : "0");
  } catch (const AutomationError&) {
    throw AutomationError(kLibraryRefusal, "Quillane.clsCurrency",
                          std::string(field.key) + mdlLanguage::LoadLangString("的值必须是逻辑值:") +
                              modFunction::RecordText(record, field.key));
  }
}

std::int32_t clsCurrency::FindByNumberName(const std::string& strNumber, const std::string&) {
  // Currencies are known by their three-letter code; a longer number still finds the currency of its
  // code, and once written finds itself again. Deleted currencies count: their numbers stay taken.
  try {
    for (const std::string& number : {strNumber, Left(strNumber, 3)}) {
      std::int32_t id = FirstID(Query("Select FCurrencyID from t_Currency Where FNumber=" + modFunction::Quoted(number) +
                                      " ORDER BY FCurrencyID"));
      if (id > 0) return id;
    }
  } catch (const AutomationError&) {
    // A failing lookup counts as not found.
  }
  return 0;
}

QUILLANE_REGISTER_CLASS("Quillane.clsCurrency", clsCurrency)

}  // namespace quillane::standalone
