#include "standalone/clsMeasureUnit.h"

#include <algorithm>

#include "exchange/clsItem_classes.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::standalone {
namespace {

using mdlLanguage::LoadLangString;
using modFunction::Quoted;
using modFunction::ShownText;

constexpr Field kFields[] = {
    {.key = "Name", .column = "FName"},
    {.key = "Number", .column = "FNumber"},
    {.key = "Coefficient", .column = "FCoefficient", .out = Out::Stored},
    {.key = "AuxClass", .column = "FAuxClass", .out = Out::Stored},
    {.key = "IsDelete", .column = "FDeleted", .out = Out::Stored},
    {.key = "MeasureUnitGroup", .column = "FUnitGroupID", .out = Out::Own},
    {.key = "Standard", .column = "FMeasureUnitID", .out = Out::Own},
    {.key = "UUID", .column = "UUID"},
};

// Deleted units travel too, marked by IsDelete.
constexpr StandaloneType kMeasureUnit = {
    .className = "clsMeasureUnit",
    .typeName = "MeasureUnit",
    .table = "t_MeasureUnit",
    .keyColumn = "FMeasureUnitID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM t_MeasureUnit WHERE FMeasureUnitID>0",
    .maxStampQuery = "SELECT IsNull(max(FModifyTime),0) as FMT FROM t_MeasureUnit",
    .errorPrefix = "导入计量单位记录(Number:",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kFields,
};

// The record's Standard as a whole number, 0 when it has none.
std::int32_t standardOf(const TrzRecord& record) {
  return record.Exists("Standard") ? CLng(Variant(modFunction::NumberValue(record.Item("Standard"), "Standard"))) : 0;
}

std::int32_t firstLong(const ObjectRef& rs, const char* column) {
  return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, column));
}

std::string textOrEmpty(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

}  // namespace

clsMeasureUnit::clsMeasureUnit() : StandaloneClass(kMeasureUnit) {}

void clsMeasureUnit::BeginPage() { m_Group = Group{}; }

const clsMeasureUnit::Group& clsMeasureUnit::GroupOf(const ObjectRef& rs) {
  const Variant column = modFunction::FieldValue(rs, "FUnitGroupID");
  // A unit without a group (0 or Null) has none; it must not take the group of the row before it.
  const std::int32_t id = column.isNull() ? 0 : CLng(column);
  if (id == m_Group.id) return m_Group;
  m_Group = Group{};
  m_Group.id = id;
  if (id == 0) return m_Group;
  ObjectRef group = Query("SELECT FName,FDefaultUnitID,UUID FROM t_UnitGroup WHERE FUnitGroupID=" + std::to_string(id));
  if (!modFunction::IsEOF(group)) {
    m_Group.name = textOrEmpty(modFunction::FieldValue(group, "FName"));
    m_Group.uuid = textOrEmpty(modFunction::FieldValue(group, "UUID"));
    const Variant defaultUnit = modFunction::FieldValue(group, "FDefaultUnitID");
    m_Group.defaultUnitID = defaultUnit.isNull() ? 0 : CLng(defaultUnit);
  }
  return m_Group;
}

void clsMeasureUnit::PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) {
  const Group& group = GroupOf(rs);
  // A group travels by name and UUID; without both it cannot be found again, and its units travel as
  // units of no group, none of them standard.
  const bool travels = !group.name.empty() && !group.uuid.empty();
  if (std::string_view(field.key) == "MeasureUnitGroup") {
    if (!travels) return;
    auto nested = std::make_shared<TrzRecord>();
    nested->SetValue("Name", group.name);
    nested->SetValue("UUID", group.uuid);
    record.SetObject(field.key, nested);
  } else {
    const bool standard = travels && CLng(modFunction::FieldValue(rs, field.column)) == group.defaultUnitID;
    record.SetValue(field.key, static_cast<std::int16_t>(standard));
  }
}

std::int32_t clsMeasureUnit::ImportRecord(const TrzRecord& record) {
  try {
    std::shared_ptr<TrzRecord> group = record.GetRecord("MeasureUnitGroup");
    if (group && group->Count() == 0) group.reset();
    // A standard unit is its group's default unit: without a group it would clear the mark of every
    // unit that has none.
    if (!group && standardOf(record) != 0)
      throw AutomationError(kLibraryRefusal, "Quillane." + className(), LoadLangString("标准计量单位必须属于一个计量单位组!"));
    return ImportUnit(record, group ? ImportUnitGroup(*group) : 0);
  } catch (const AutomationError& e) {
    if (e.number != static_cast<std::int32_t>(sql::OleDbError::IntegrityViolation)) throw;
    throw AutomationError(e.number, e.source,
                          LoadLangString("计量单位(Number：") + ShownText(&record, "Number") + LoadLangString(" Name：") +
                              ShownText(&record, "Name") + LoadLangString(")已发生业务上的强制约束，不能覆盖！"));
  }
}

std::int32_t clsMeasureUnit::ImportUnitGroup(const TrzRecord& group) {
  const std::string name = ShownText(&group, "Name"), uuid = ShownText(&group, "UUID");
  const std::string groups = "SELECT FUnitGroupID FROM t_UnitGroup WHERE ";
  std::int32_t id = checkByUUID() && !Trim(uuid).empty() ? firstLong(Query(groups + "UUID=" + Quoted(uuid)), "FUnitGroupID") : 0;
  if (id == 0) id = firstLong(Query(groups + "FName=" + Quoted(name)), "FUnitGroupID");
  if (id != 0) {
    // An existing group keeps its id, which its units and its item row carry; it takes the UUID.
    Run("UPDATE t_UnitGroup SET UUID = " + Quoted(uuid) + " WHERE FUnitGroupID=" + std::to_string(id));
    return id;
  }
  // The group's item row may be there without its group row. Only a group's row will do: an item of
  // another class, or a unit, may bear the same name.
  const std::string itemRow = "SELECT FItemID From t_Item WHERE FItemClassID=7 AND FDetail=0 AND FName=" + Quoted(name);
  id = firstLong(Query(itemRow), "FItemID");
  if (id == 0) {
    // The group's name is its item's number too.
    Run("INSERT INTO t_Item (FItemClassID,FNumber,FName,FLevel,FDetail,FParentID,FSystemType" +
        std::string(uuid.empty() ? "" : ",UUID") + ") VALUES (7," + Quoted(name) + "," + Quoted(name) + ",1,0,0," +
        std::to_string(m_lSystemType) + (uuid.empty() ? "" : "," + Quoted(uuid)) + ")");
    id = firstLong(Query(itemRow), "FItemID");
    // The provider's source, so that the error line quotes the statement that found nothing.
    if (id == 0) throw AutomationError(kLibraryRefusal, sql::kProviderSource, LoadLangString("执行SQL失败!"));
  }
  Run("INSERT INTO t_UnitGroup (FName,FUnitGroupID, UUID) VALUES (" + Quoted(name) + "," + std::to_string(id) + "," +
      Quoted(uuid) + ")");
  return id;
}

std::int32_t clsMeasureUnit::ImportUnit(const TrzRecord& record, std::int32_t lGroupID) {
  std::string number = ShownText(&record, "Number");
  const std::string name = ShownText(&record, "Name");
  std::int32_t id = 0;
  if (checkByUUID() && record.Exists("UUID")) id = GetIDByUUID(std::string(Trim(ShownText(&record, "UUID"))));
  std::string newNumber;
  if (id == 0) id = CheckExistence(number, name, newNumber, lGroupID);
  if (id == -1) {
    // The clash is skipped, or the record goes in under the number the user gave.
    if (newNumber.empty()) return Skip(modFunction::kSkipClash);
    number = newNumber;
  } else if (id > 0 && addNewOnly()) {
    return Skip(modFunction::kSkipExisting, id);
  }
  if (id <= 0) id = AddUnit(number, name, lGroupID);
  UpdateUnit(record, id, number, lGroupID);
  return id;
}

std::int32_t clsMeasureUnit::AddUnit(const std::string& strNumber, const std::string& strName, std::int32_t lGroupID) {
  auto highest = [this](const char* statement, const char* column) { return firstLong(Query(statement), column); };
  // The unit's id is its item row's too: free among the units and among the items.
  const std::int32_t id =
      std::max(highest(" Select IsNull(max(FMeasureUnitID),0) as FMeasureUnitID from t_MeasureUnit", "FMeasureUnitID"),
               highest(" Select IsNull(max(FItemID),0) as FItemID from t_Item", "FItemID")) +
      1;
  const std::string values = std::to_string(id) + ",7," + Quoted(strNumber) + "," + Quoted(strName) + ",2,1," +
                             std::to_string(lGroupID) + "," + std::to_string(m_lSystemType);
  Run("INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,FLevel,FDetail,FParentID,FSystemType) VALUES (" + values + ")");
  Run("INSERT INTO t_MeasureUnit (FMeasureUnitID,FNumber,FName,FUnitGroupID) VALUES (" + std::to_string(id) + "," +
      Quoted(strNumber) + "," + Quoted(strName) + "," + std::to_string(lGroupID) + ")");
  return id;
}

void clsMeasureUnit::UpdateUnit(const TrzRecord& record, std::int32_t lID, const std::string& strNumber,
                                std::int32_t lGroupID) {
  const std::string id = std::to_string(lID), group = std::to_string(lGroupID);
  const std::string number = Quoted(strNumber), name = Quoted(ShownText(&record, "Name"));
  std::string unit = "UPDATE t_MeasureUnit SET FNumber=" + number + ",FName=" + name + ",";
  std::string item = "UPDATE t_Item SET FNumber=" + number + ",FName=" + name + ",";
  if (record.Exists("Coefficient"))
    unit += "FCoefficient=" + modFunction::NumberValue(record.Item("Coefficient"), "Coefficient") + ",";
  if (record.Exists("AuxClass")) unit += "FAuxClass=" + Quoted(ShownText(&record, "AuxClass")) + ",";
  if (record.Exists("IsDelete")) unit += "FDeleted=" + modFunction::NumberValue(record.Item("IsDelete"), "IsDelete") + ",";
  if (const std::int32_t standard = standardOf(record); standard != 0) {
    // A group has one standard unit, which it names as its default.
    Run("UPDATE t_MeasureUnit SET FStandard=0 WHERE FUnitGroupID=" + group);
    Run("UPDATE t_UnitGroup SET FDefaultUnitID=" + id + " WHERE FUnitGroupID=" + group);
    unit += "FStandard = " + std::to_string(standard) + ",";
  }
  if (record.Exists("UUID")) {
    const std::string uuid = Quoted(ShownText(&record, "UUID"));
    unit += "UUID = " + uuid + ",";
    item += "UUID=" + uuid + ",";
  }
  if (lGroupID != 0) {
    unit += "FUnitGroupID = " + group + ",FParentID = " + group + ",";
    item += "FParentID=" + group + ",";
  }
  Run(unit + "FItemID = " + id + ",FShortNumber = " + number + " WHERE FMeasureUnitID = " + id);
  // The unit's item row follows it, and is the row that carries the import's system type.
  Run(item + "FSystemType=" + std::to_string(m_lSystemType) + " WHERE FItemID=" + id +
      " AND FItemClassID=" + std::to_string(item_classes::kUnitsOfMeasure));
}

std::int32_t clsMeasureUnit::CheckExistence(const std::string& strNumber, const std::string& strName,
                                            std::string& strNewNumber, std::int32_t lGroupID) {
  if (strNumber.empty() && strName.empty()) return 0;
  const std::string base = "Select FMeasureUnitID from t_MeasureUnit Where ";
  const std::string inGroup = " AND FUnitGroupID=" + std::to_string(lGroupID);
  if (std::int32_t id = FirstID(Query(base + "FNumber=" + Quoted(strNumber) + " AND FName=" + Quoted(strName) + inGroup));
      id != 0)
    return id;
  // A unit renumbered within its group is the same unit.
  if (std::int32_t id = FirstID(Query(base + "FName=" + Quoted(strName) + inGroup)); id != 0) return id;
  const std::int32_t holder = FirstID(Query(base + "FNumber=" + Quoted(strNumber)));
  if (holder == 0) return 0;
  return modFunction::SettleClash(m_Conflict, haveInterFace(), holder, strNumber, strName, LoadLangString("计量单位"),
                                  strNewNumber);
}

void clsMeasureUnit::AfterImport() {
  if (m_Conflict.m_DirtyCount <= 0) return;
  // Copies: what a sink writes into them must not change the object's record of clashes.
  std::int32_t lItemClassID = item_classes::kUnitsOfMeasure, lCounts = m_Conflict.m_DirtyCount;
  std::string strContent = m_Conflict.m_DirtyString;
  RaiseEventWith("DirtyRecord", kDirtyRecord, lItemClassID, lCounts, strContent);
}

QUILLANE_REGISTER_CLASS("Quillane.clsMeasureUnit", clsMeasureUnit)

}  // namespace quillane::standalone
