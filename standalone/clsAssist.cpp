#include "standalone/clsAssist.h"

#include "exchange/MParse.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::standalone {

struct clsAssist::Family {
  const StandaloneType& entries;
  const char* typeColumn;      // the entry's type: "FTypeID", "FClassID"
  const char* typeTable;       // "t_SubMesType", "com_SysTypeClass"
  const char* typeKey;         // "FTypeID", "FTypeClassID"
  const char* typeNameColumn;  // "FName", "FTypeClassName"
  bool industrial;
};

namespace {

using modFunction::Quoted;
using modFunction::ShownText;

constexpr Field kIndustrialFields[] = {
    {.key = "Name", .column = "FName"},
    {.key = "Number", .column = "FID"},
    {.key = "AssistType", .column = "FTypeID", .out = Out::Own},
    {.key = "UUID", .column = "UUID"},
};
constexpr Field kCommercialFields[] = {
    {.key = "Name", .column = "FName"},
    {.key = "Number", .column = "FNumber"},
    {.key = "AssistType", .column = "FClassID", .out = Out::Own},
    {.key = "UUID", .column = "UUID"},
};

// An entry is exchanged once it stands under a type (its FParentID holds the type too).
constexpr StandaloneType kIndustrial = {
    .className = "clsAssist",
    .typeName = "Assist",
    .table = "t_SubMessage",
    .keyColumn = "FInterID",
    .numberColumn = "FID",
    .nameColumn = "FName",
    .pageSource = " FROM t_SubMessage WHERE FDeleted=0 AND FInterID <> 0 and FParentID<>0",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM t_SubMessage WHERE FDeleted=0 AND FInterID <> 0 ",
    .errorPrefix = "导入辅助资料记录(Number:",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kIndustrialFields,
    .yieldsAfterRecord = false,
};
// The ERP's predefined entries are not exchanged.
constexpr StandaloneType kCommercial = {
    .className = "clsAssist",
    .typeName = "Assist",
    .table = "com_SysType",
    .keyColumn = "FSysTypeID",
    .numberColumn = "FNumber",
    .nameColumn = "FName",
    .pageSource = " FROM com_SysType WHERE  FSysTypeID <> 0 AND FPreDefined=0",
    .maxStampQuery = "SELECT MAX(FModifyTime) as FMT FROM com_SysType WHERE FSysTypeID <> 0 ",
    .errorPrefix = "导入辅助资料记录(Number:",
    .newRowColumns = "",
    .newRowValues = "",
    .fields = kCommercialFields,
    .yieldsAfterRecord = false,
};

std::int32_t firstLong(const ObjectRef& rs, const char* column) {
  return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, column));
}

std::string textOrEmpty(const Variant& value) { return value.isNull() ? std::string() : CStr(value); }

// The provider's source, so that the error line quotes the statement that found nothing.
[[noreturn]] void refuseNotFound() {
  throw AutomationError(kLibraryRefusal, sql::kProviderSource, mdlLanguage::LoadLangString("执行SQL失败!"));
}

}  // namespace

clsAssist::clsAssist() : StandaloneClass(kIndustrial) {}

const clsAssist::Family& clsAssist::family() {
  static const Family industrial{kIndustrial, "FTypeID", "t_SubMesType", "FTypeID", "FName", true};
  static const Family commercial{kCommercial, "FClassID", "com_SysTypeClass", "FTypeClassID", "FTypeClassName", false};
  return MParse::IsIndustry() ? industrial : commercial;
}

const StandaloneType& clsAssist::type() const { return family().entries; }

void clsAssist::BeginPage() { m_Type = AssistType{}; }

void clsAssist::PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) {
  const Variant column = modFunction::FieldValue(rs, field.column);
  // An entry without a type (0 or Null) has none; it must not take the type of the row before it.
  const std::int32_t id = column.isNull() ? 0 : CLng(column);
  if (id != m_Type.id) {
    m_Type = AssistType{};
    m_Type.id = id;
    const Family& f = family();
    if (id != 0) {
      ObjectRef type = Query(std::string("SELECT ") + f.typeNameColumn + ",UUID FROM " + f.typeTable + " WHERE " +
                             f.typeKey + "=" + std::to_string(id));
      if (!modFunction::IsEOF(type)) {
        m_Type.name = textOrEmpty(modFunction::FieldValue(type, f.typeNameColumn));
        m_Type.uuid = textOrEmpty(modFunction::FieldValue(type, "UUID"));
      }
    }
  }
  // A type travels by name and UUID; the import finds one without a UUID by its name, so only a type
  // without a name stays behind (an industrial entry without its type is refused on import).
  if (m_Type.name.empty()) return;
  auto nested = std::make_shared<TrzRecord>();
  nested->SetValue("Name", m_Type.name);
  nested->SetValue("UUID", m_Type.uuid);
  record.SetObject(field.key, nested);
}

std::int32_t clsAssist::ImportRecord(const TrzRecord& record) {
  const std::string number = ShownText(&record, "Number"), name = ShownText(&record, "Name");
  if (family().industrial && IsOrphan(number, name)) return Skip(modFunction::kSkipUntypedEntry);
  std::int32_t lTypeID = 0;
  if (std::shared_ptr<TrzRecord> assistType = record.GetRecord("AssistType"); assistType && assistType->Count() > 0)
    lTypeID = ImportType(*assistType);
  // An industrial entry without its type would be stored under none, where no export's page finds it.
  else if (family().industrial)
    throw AutomationError(kLibraryRefusal, "Quillane." + className(),
                          mdlLanguage::LoadLangString("记录缺少必需的键:") + std::string("AssistType"));
  std::int32_t id = 0;
  if (checkByUUID() && record.Exists("UUID")) id = GetIDByUUID(std::string(Trim(ShownText(&record, "UUID"))));
  if (id <= 0) id = GetIDByNumber(number, name, lTypeID);
  if (id > 0 && addNewOnly()) return Skip(modFunction::kSkipExisting, id);
  if (id <= 0) id = AddEntry(number, name, lTypeID);
  UpdateEntry(record, id, lTypeID);
  return id;
}

bool clsAssist::IsOrphan(const std::string& strNumber, const std::string& strName) {
  const std::string number = Quoted(strNumber), name = Quoted(strName);
  if (modFunction::IsEOF(Query(" SELECT 1 FROM t_submessage WHERE FID = " + number + " AND FName = " + name)))
    return false;
  return modFunction::IsEOF(Query(" SELECT 1 FROM t_submessage a,t_submestype b  WHERE a.FID = " + number +
                                  "  AND a.FName = " + name + "  AND a.FTypeID = b.FTypeID "));
}

std::int32_t clsAssist::ImportType(const TrzRecord& assistType) {
  const Family& f = family();
  const std::string name = ShownText(&assistType, "Name"), uuid = ShownText(&assistType, "UUID");
  const std::string base = std::string("SELECT ") + f.typeKey + " FROM " + f.typeTable + " WHERE ";
  const std::string byName = base + f.typeNameColumn + "=" + Quoted(name);
  // A type found by its UUID is that type, whatever it is called here.
  std::int32_t id = checkByUUID() && !Trim(uuid).empty() ? firstLong(Query(base + "UUID=" + Quoted(uuid)), f.typeKey) : 0;
  if (id == 0) id = firstLong(Query(byName), f.typeKey);
  if (id != 0) return id;
  if (f.industrial) {
    // Type ids are given as the highest plus 1; the first type of an empty table gets 1.
    const std::int32_t next = firstLong(Query("SELECT IsNull(MAX(FTypeID),0) as MTypeID from t_SubMesType"), "MTypeID") + 1;
    Run("INSERT INTO t_SubMesType (FTypeID,FName,FType,UUID) VALUES (" + std::to_string(next) + "," + Quoted(name) +
        ",1," + Quoted(uuid) + ")");
  } else {
    Run("INSERT INTO com_SysTypeClass (FTypeClassName,UUID) VALUES (" + Quoted(name) + "," + Quoted(uuid) + ")");
  }
  id = firstLong(Query(byName), f.typeKey);
  if (id == 0) refuseNotFound();
  return id;
}

std::int32_t clsAssist::GetIDByNumber(const std::string& strNumber, const std::string& strName,
                                      std::int32_t lTypeID) {
  if (strNumber.empty() && strName.empty()) return 0;
  const Family& f = family();
  return FirstID(Query(std::string("SELECT ") + f.entries.keyColumn + " FROM " + f.entries.table + " WHERE " +
                       f.typeColumn + "=" + std::to_string(lTypeID) + " AND " + f.entries.numberColumn + "=" +
                       Quoted(strNumber)));
}

std::int32_t clsAssist::AddEntry(const std::string& strNumber, const std::string& strName, std::int32_t lTypeID) {
  const std::string type = std::to_string(lTypeID);
  if (family().industrial) {
    // Entry ids are given as the highest plus 1 (1 in an empty table); the entry is the one of that id.
    const std::int32_t next =
        firstLong(Query("SELECT IsNull(MAX(FInterID),0) as MInterID from t_SubMessage"), "MInterID") + 1;
    Run("INSERT INTO t_SubMessage (FBrNo,FInterID,FID,FName,FTypeID,FParentID) VALUES (0," + std::to_string(next) + "," +
        Quoted(strNumber) + "," + Quoted(strName) + "," + type + ",0)");
    return next;
  }
  Run("INSERT INTO com_SysType (FNumber,FName,FPreDefined,FClassID) VALUES (" + Quoted(strNumber) + "," +
      Quoted(strName) + ",0," + type + ")");
  const std::int32_t id = GetIDByNumber(strNumber, strName, lTypeID);
  if (id <= 0) refuseNotFound();
  return id;
}

void clsAssist::UpdateEntry(const TrzRecord& record, std::int32_t lID, std::int32_t lTypeID) {
  const Family& f = family();
  const std::string id = std::to_string(lID), type = std::to_string(lTypeID);
  const std::string uuid = record.Exists("UUID") ? ",UUID=" + Quoted(ShownText(&record, "UUID")) : "";
  const std::string number = Quoted(ShownText(&record, "Number")), name = Quoted(ShownText(&record, "Name"));
  const std::string systemType = std::to_string(m_lSystemType);
  if (f.industrial) {
    Run("UPDATE t_SubMessage SET FID=" + number + ",FName=" + name + ",FSystemType=" + systemType + ",FTypeID=" + type +
        ",FParentID=" + type + uuid + " Where FInterID=" + id);
    return;
  }
  // A predefined entry (or one whose mark is Null) is the ERP's own and stays as it is.
  ObjectRef predefined = Query("SELECT FPreDefined FROM com_SysType WHERE FSysTypeID = " + id);
  if (modFunction::IsEOF(predefined)) return;
  const Variant mark = modFunction::FieldValue(predefined, "FPreDefined");
  if (mark.isNull() || CBool(mark)) return;
  Run("UPDATE com_SysType SET FNumber=" + number + ",FName=" + name + ",FSystemType=" + systemType +
      ",FClassID=" + type + uuid + " WHERE FSysTypeID = " + id);
}

QUILLANE_REGISTER_CLASS("Quillane.clsAssist", clsAssist)

}  // namespace quillane::standalone
