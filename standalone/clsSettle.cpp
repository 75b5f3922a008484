#include "standalone/clsSettle.h"

#include "platform/automation/factory.h"

namespace quillane::standalone {
namespace {

constexpr Field kFields[] = {
    {.key = "Name", .column = "FName", .fallback = "''"},
    {.key = "Number", .column = "FNumber", .fallback = "''"},
    {.key = "Account", .column = "FAcctID", .out = Out::Link, .in = In::Own, .link = LinkKind::Account},
    {.key = "UUID", .column = "UUID"},
};

constexpr std::int16_t kCompanionTypes[] = {130};

constexpr StandaloneType kSettle = {
    .className = "clsSettle",
    .typeName = "Settle",
    .table = "t_Settle",
    .keyColumn = "FItemID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM t_settle WHERE FDeleted=0 AND FItemID <> 0 ",
    .maxStampQuery = "SELECT IsNull(MAX(FModifyTime),0) as FMT FROM t_Settle WHERE FDeleted=0 AND FItemID <> 0 ",
    .errorPrefix = "导入结算方式记录(Number:",
    // A new method starts active and without its account, until the record's UPDATE gives it one.
    .newRowColumns = ",FStatus,FAcctID",
    .newRowValues = ",0,-1",
    .fields = kFields,
    .companionTypes = kCompanionTypes,
};

}  // namespace

clsSettle::clsSettle() : StandaloneClass(kSettle) {}

std::optional<std::string> clsSettle::OwnValue(const Field& field, const TrzRecord& record) {
  if (!record.Exists(field.key)) return "0";
  // The codec records each lookup as the last statement; of the assignment it writes only the id is used.
  std::string assignment;
  std::int32_t id = ImportLinkField(*this, field.link, record.Item(field.key), field.column, assignment);
  return std::to_string(id > 0 ? id : -1);
}

QUILLANE_REGISTER_CLASS("Quillane.clsSettle", clsSettle)

}  // namespace quillane::standalone
