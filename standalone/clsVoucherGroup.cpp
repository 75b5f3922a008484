#include "standalone/clsVoucherGroup.h"

#include "exchange/modFunction_sql.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"

namespace quillane::standalone {
namespace {

constexpr const char* kStandardSince = "3.0.0.0";

Field range(const char* key, const char* column) {
  return {.key = key, .column = column, .out = Out::Stored, .in = In::Own};
}

const Field kFields[] = {
    {.key = "Name", .column = "FName", .out = Out::Stored, .fallback = "''"},
    range("DRange", "FDRange"),
    range("CRange", "FCRange"),
    range("DCRange", "FDCRange"),
    range("NDRange", "FNDRange"),
    range("NCRange", "FNCRange"),
    range("NDCRange", "FNDCRange"),
    {.key = "UUID", .column = "UUID", .out = Out::Stored},
    {.key = "Standard", .column = "FStandard", .out = Out::Stored, .in = In::None, .since = kStandardSince},
    {.key = "LimitMulti", .column = "FLimitMulti", .out = Out::Stored, .in = In::Number, .fallback = "0",
     .since = kStandardSince},
};

constexpr std::int16_t kCompanionTypes[] = {140};

const StandaloneType kVoucherGroup = {
    .className = "clsVoucherGroup",
    .typeName = "VoucherGroup",
    .table = "t_VoucherGroup",
    .keyColumn = "FGroupID",
    .numberColumn = nullptr,
    .nameColumn = "FName",
    .pageSource = " FROM t_VoucherGroup WHERE  FGroupID <> 0 ",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM t_VoucherGroup",
    .errorPrefix = "导入凭证字记录(",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kFields,
    .companionTypes = kCompanionTypes,
};

}  // namespace

clsVoucherGroup::clsVoucherGroup() : StandaloneClass(kVoucherGroup) {}

std::optional<std::string> clsVoucherGroup::OwnValue(const Field& field, const TrzRecord& record) {
  Variant value = record.GetValue(field.key, Variant("NULL"));
  std::string text = value.isNull() ? "NULL" : CStr(value);
  return text == "0" || text == "NULL" ? std::string("NULL") : modFunction::Quoted(text);
}

void clsVoucherGroup::AfterUpdate(const TrzRecord& record, std::int32_t lID) {
  if (!ServicePackAtLeast(kStandardSince)) return;
  Variant standard = record.GetValue("Standard", Variant("0"));
  if (!standard.isNull() && CStr(standard) == "0") return;
  const std::string value = modFunction::NumberValue(standard, "Standard");
  Run("UPDATE t_VoucherGroup SET FStandard=0");
  Run("UPDATE t_VoucherGroup SET FStandard=" + value + " WHERE FGroupID = " + std::to_string(lID));
}

QUILLANE_REGISTER_CLASS("Quillane.clsVoucherGroup", clsVoucherGroup)

}  // namespace quillane::standalone
