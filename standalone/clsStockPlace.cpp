#include "standalone/clsStockPlace.h"

#include <cstdlib>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_text.h"
#include "exchange/per_type_interface.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::standalone {
namespace {

using modFunction::Quoted;
using modFunction::ShownText;

constexpr Field kFields[] = {
    {.key = "Name", .column = "FName"},
    {.key = "Number", .column = "FNumber"},
    {.key = "Level", .column = "FLevel", .out = Out::Stored},
    {.key = "IsDetail", .column = "FDetail", .out = Out::Own},
    {.key = "Parent", .column = "FParentID", .out = Out::Link, .link = LinkKind::StockPlace},
    {.key = "StockPlaceGroup", .column = "FSPGroupID", .out = Out::Own},
    {.key = "UUID", .column = "UUID"},
};

// A page is packed without yielding to the message loop.
constexpr StandaloneType kStockPlace = {
    .className = "clsStockPlace",
    .typeName = "StockPlace",
    .table = "t_StockPlace",
    .keyColumn = "FSPID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM t_StockPlace WHERE FDeleted=0 AND FSPID <> 0 ",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM t_StockPlace WHERE FDeleted=0 AND FSPID <> 0 ",
    .errorPrefix = "导入仓位记录(Number:",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kFields,
    .yieldsWhilePacking = false,
};

// The nested record under key; null for none, or for an empty element.
std::shared_ptr<TrzRecord> nestedOf(const TrzRecord& record, const char* key) {
  std::shared_ptr<TrzRecord> nested = record.GetRecord(key);
  return nested && nested->Count() > 0 ? nested : nullptr;
}

std::int32_t idOf(const Variant& value) { return value.isNull() ? 0 : CLng(value); }

}  // namespace

clsStockPlace::clsStockPlace() : StandaloneClass(kStockPlace) {}

const DispatchTable& clsStockPlace::dispatchTable() const {
  static const DispatchTable table =
      PerTypeDispatchTable<StandaloneClass>(&StandaloneClass::Export, HaveInterFaceSlot::Third);
  return table;
}

void clsStockPlace::PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) {
  if (std::string_view(field.key) == "IsDetail") {
    // The ERP stores a detail place as 1 or -1. A place whose flag is Null travels without one.
    const Variant detail = modFunction::FieldValue(rs, field.column);
    if (!detail.isNull()) record.SetValue(field.key, std::abs(CLng(detail)));
    return;
  }
  const std::int32_t groupID = idOf(modFunction::FieldValue(rs, field.column));
  if (groupID <= 0) return;
  ObjectRef group = Query("SELECT * FROM t_StockPlaceGroup WHERE FSPGroupID=" + std::to_string(groupID));
  if (modFunction::IsEOF(group)) return;
  auto nested = std::make_shared<TrzRecord>();
  const char* keys[][2] = {{"Number", "FNumber"}, {"Name", "FName"}, {"UUID", "UUID"}};
  for (const auto& [key, column] : keys) {
    const Variant value = modFunction::FieldValue(group, column);
    nested->SetValue(key, value.isNull() ? Variant("") : value);
  }
  record.SetObject(field.key, nested);
  const std::int32_t placeID = CLng(modFunction::FieldValue(rs, "FSPID"));
  if (idOf(modFunction::FieldValue(group, "FDefaultSPID")) == placeID) record.SetValue("IsDefaultStockPlace", placeID);
}

std::int32_t clsStockPlace::ImportRecord(const TrzRecord& record) {
  std::int32_t lGroupID = 0;
  if (auto group = nestedOf(record, "StockPlaceGroup")) lGroupID = ImportGroup(*group);
  std::int32_t lParentID = 0;
  if (auto parent = nestedOf(record, "Parent"))
    lParentID = AddStockPlace(ShownText(parent.get(), "Number"), ShownText(parent.get(), "Name"), lGroupID,
                              ShownText(parent.get(), "UUID"));

  const std::string number = ShownText(&record, "Number"), name = ShownText(&record, "Name");
  std::int32_t id = 0;
  if (checkByUUID() && record.Exists("UUID")) id = GetIDByUUID(std::string(Trim(ShownText(&record, "UUID"))));
  if (id <= 0) id = GetIDByNumberGroup(number, name, lGroupID);
  if (id > 0 && addNewOnly()) return Skip(modFunction::kSkipExisting, id);
  if (id <= 0)
    id = InsertFound("INSERT INTO t_StockPlace (FNumber,FName,FSPGroupID,FParentID,FDetail,FLevel,UUID,FFullNumber) "
                     "VALUES (" + Quoted(number) + "," + Quoted(name) + "," + std::to_string(lGroupID) + ",0,1,1," +
                         Quoted(ShownText(&record, "UUID")) + "," + Quoted(number) + ")",
                     number, name, lGroupID);
  // The places must stay a tree: a place under itself or under one of its own places would leave both
  // out of every walk from the top.
  if (lParentID != 0 && modFunction::IsSelfOrDescendant(id, lParentID, "t_StockPlace", "FSPID",
                                                       [&](const std::string& statement) { return Query(statement); }))
    throw modFunction::ParentCycleError("Quillane.clsStockPlace", ShownText(nestedOf(record, "Parent").get(), "Number"));
  UpdatePlace(record, id, lParentID);

  // The place's group, and its group's default place: neither may fail the record.
  auto runIgnoringErrors = [this](const std::string& statement) {
    try {
      Run(statement);
    } catch (const AutomationError&) {
    }
  };
  const std::string place = std::to_string(id), group = std::to_string(lGroupID);
  runIgnoringErrors("UPDATE t_StockPlace SET FSPGroupID=" + group + " WHERE FSPID=" + place);
  if (record.Exists("IsDefaultStockPlace"))
    runIgnoringErrors("UPDATE t_StockPlaceGroup SET FDefaultSPID=" + place + " WHERE FSPGroupID=" + group);
  return id;
}

std::int32_t clsStockPlace::ImportGroup(const TrzRecord& group) {
  const std::string number = ShownText(&group, "Number"), uuid = ShownText(&group, "UUID");
  const std::string base = "SELECT FSPGroupID FROM t_StockPlaceGroup WHERE ";
  auto firstGroup = [this](const std::string& statement) {
    ObjectRef rs = Query(statement);
    return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, "FSPGroupID"));
  };
  std::int32_t id = checkByUUID() && !Trim(uuid).empty() ? firstGroup(base + "UUID=" + Quoted(uuid)) : 0;
  if (id == 0) id = firstGroup(base + "FNumber=" + Quoted(number));
  // An existing group is left as it is.
  if (id != 0) return id;
  Run("INSERT INTO t_StockPlaceGroup (FNumber,FName,FDefaultSPID,UUID) VALUES (" + Quoted(number) + "," +
      Quoted(ShownText(&group, "Name")) + ",0," + Quoted(uuid) + ")");
  return firstGroup(base + "FNumber=" + Quoted(number));
}

std::int32_t clsStockPlace::AddStockPlace(const std::string& strNumber, const std::string& strName,
                                          std::int32_t lGroupID, const std::string& strUUID) {
  std::int32_t id = checkByUUID() ? GetIDByUUID(strUUID) : 0;
  if (id == 0) id = GetIDByNumberGroup(strNumber, strName, lGroupID);
  // A parent that is there is not changed; one that is not is made a bare place of the group, until
  // its own record comes.
  if (id != 0) return id;
  return InsertFound("INSERT INTO t_StockPlace (FNumber,FName,FSPGroupID,FParentID,FDetail,FLevel,FFullNumber,UUID) "
                     "VALUES (" + Quoted(strNumber) + "," + Quoted(strName) + "," + std::to_string(lGroupID) +
                         ",0,1,1,''," + Quoted(strUUID) + ")",
                     strNumber, strName, lGroupID);
}

std::int32_t clsStockPlace::InsertFound(const std::string& strInsert, const std::string& strNumber,
                                        const std::string& strName, std::int32_t lGroupID) {
  Run(strInsert);
  const std::int32_t id = GetIDByNumberGroup(strNumber, strName, lGroupID);
  if (id > 0) return id;
  // Nothing names the new row (a place without number and name): the record fails, quoting its insert,
  // rather than count as imported with nothing of it written, or update the row of id 0.
  lastSQL() = strInsert;
  throw AutomationError(kLibraryRefusal, sql::kProviderSource, mdlLanguage::LoadLangString("执行SQL失败!"));
}

std::int32_t clsStockPlace::GetIDByNumberGroup(const std::string& strNumber, const std::string& strName,
                                               std::int32_t lGroupID) {
  if (strNumber.empty() && strName.empty()) return 0;
  std::string statement = "Select FSPID from t_StockPlace Where FNumber=" + Quoted(strNumber);
  if (lGroupID != 0) statement += " AND FSPGroupID=" + std::to_string(lGroupID);
  try {
    return FirstID(Query(statement));
  } catch (const AutomationError&) {
    return 0;
  }
}

void clsStockPlace::UpdatePlace(const TrzRecord& record, std::int32_t lID, std::int32_t lParentID) {
  const std::string number = ShownText(&record, "Number");
  std::string assignments;
  if (record.Exists("Number")) assignments += "FNumber=" + Quoted(number) + ",";
  if (record.Exists("Name")) assignments += "FName=" + Quoted(ShownText(&record, "Name")) + ",";
  assignments += "FParentID=" + std::to_string(lParentID) + ",";
  if (record.Exists("IsDetail")) assignments += "FDetail=" + modFunction::NumberValue(record.Item("IsDetail"), "IsDetail") + ",";
  if (record.Exists("Level")) assignments += "FLevel=" + modFunction::NumberValue(record.Item("Level"), "Level") + ",";
  if (record.Exists("UUID")) assignments += "UUID = " + Quoted(ShownText(&record, "UUID")) + ",";
  assignments += "FFullNumber = " + Quoted(number) + ",FShortNumber = " + Quoted(modFunction::AfterLastDot(number));
  Run("UPDATE t_StockPlace SET " + assignments + " WHERE FSPID = " + std::to_string(lID));
}

QUILLANE_REGISTER_CLASS("Quillane.clsStockPlace", clsStockPlace)

}  // namespace quillane::standalone
