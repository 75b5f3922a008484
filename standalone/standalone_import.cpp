// The import road of the frame: the document, one transaction per record, and the finding, inserting
// and updating of one record's row.
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/data_access.h"
#include "platform/sql/errors.h"
#include "standalone/standalone_class.h"

namespace quillane::standalone {
namespace {

using mdlLanguage::LoadLangString;
using modFunction::Quoted;

// A record's text under key: a missing key or Null reads as the empty text.
std::string textOf(const TrzRecord& record, std::string_view key) {
  Variant value = record.GetValue(key, Variant(""));
  return value.isNull() ? std::string() : CStr(value);
}

}  // namespace

bool StandaloneClass::Import(std::string& strPropsString, std::string strXML, std::string& strError,
                             Variant lSystemType) {
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  bool result = false;
  try {
    m_sPropsString = strPropsString;
    m_ErrorCount = 0;
    m_counts = {};
    m_lSystemType = CLng(Variant(modFunction::NumberValue(lSystemType, "lSystemType")));
    modFunction::OpenConnection(m_oConn);
    const std::string typeName = type().typeName;
    if (modFunction::ReadXMLToVector(m_oRecs, strXML, modFunction::SchemaFolder() + typeName + ".xsd", typeName,
                                     strError))
      result = ImportVector(m_oRecs, strError);
    AfterImport();
    modFunction::CallMember(m_oConn, "CloseConn");
  } catch (const AutomationError& e) {
    modFunction::ReportCallError(strError, e, m_counts.stoppedBy.empty() ? std::string() : m_strSQL, m_counts);
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
  }
  m_oRecs.reset();
  return result;
}

bool StandaloneClass::ImportVector(const std::shared_ptr<TrzRecords>& oRecs, std::string& strError) {
  return modFunction::ImportEachRecord(
      *oRecs,
      [&](const std::shared_ptr<TrzRecord>& record) {
        // A record's error line quotes one of its own statements or none, never the last record's.
        m_strSQL.clear();
        m_skipReason.clear();
        if (!record) throw vbError(VbError::TypeMismatch, ErrorSource());
        modFunction::InTransaction(m_oConn, [&] { ImportRecord(*record); });
        return m_skipReason;
      },
      [&](std::int32_t lCur, std::int32_t lTotal, bool& bCancel) { RaiseProgress(lCur, lTotal, bCancel); },
      [&](const TrzRecord* record, const AutomationError& e) { CountFailure(record, e, strError); }, m_counts,
      type().yieldsAfterRecord);
}

void StandaloneClass::CountFailure(const TrzRecord* record, const AutomationError& e, std::string& strError) {
  using modFunction::ShownText;
  ++m_ErrorCount;
  const std::string name = ShownText(record, "Name"), uuid = ShownText(record, "UUID");
  const std::string identification = type().numberColumn
                                         ? modFunction::RecordIdentification(ShownText(record, "Number"), name, uuid)
                                         : "Name:" + name + ",UUID:" + uuid;
  strError += modFunction::ImportErrorLine(LoadLangString(type().errorPrefix), identification, e, m_strSQL);
}

std::int32_t StandaloneClass::ImportRecord(const TrzRecord& record) {
  m_lID = 0;
  const std::string number = type().numberColumn ? textOf(record, "Number") : std::string();
  const std::string name = textOf(record, "Name");
  // Such a record names no row: it would be inserted nameless, and found again as no row at all.
  if (number.empty() && name.empty())
    throw AutomationError(kLibraryRefusal, ErrorSource(), LoadLangString("记录没有代码也没有名称!"));
  m_lParentID = 0;
  if (!BeforeMatch(record)) return 0;

  if (m_CheckByUUID && record.Exists("UUID")) m_lID = GetIDByUUID(std::string(Trim(textOf(record, "UUID"))));
  if (m_lID <= 0) m_lID = FindByNumberName(number, name);
  if (m_lID > 0 && m_AddNewOnly) return Skip(modFunction::kSkipExisting, m_lID);
  if (m_lID <= 0) m_lID = AddRecord(number, name);
  Run(UpdateStatement(record, m_lID));
  AfterUpdate(record, m_lID);
  return m_lID;
}

std::int32_t StandaloneClass::GetIDByUUID(const std::string& strUUID) {
  // An empty UUID names no record: records without one must not take each other's rows.
  if (strUUID.empty()) return 0;
  try {
    return FirstID(modFunction::GetAnyRecordSet(m_oConn, std::string("Select ") + type().keyColumn + " From " +
                                                             type().table + " Where UUID=" + Quoted(strUUID)));
  } catch (const AutomationError&) {
    return 0;
  }
}

std::int32_t StandaloneClass::FindByNumberName(const std::string& strNumber, const std::string& strName) {
  const std::string base = std::string("Select ") + type().keyColumn + " from " + type().table + " Where ";
  const std::string byName = std::string(type().nameColumn) + "=" + Quoted(strName);
  try {
    if (!type().numberColumn) return FirstID(Query(base + byName));
    const std::string byNumber = std::string(type().numberColumn) + "=" + Quoted(strNumber);
    std::int32_t id = FirstID(Query(base + byNumber + " AND " + byName));
    return id > 0 ? id : FirstID(Query(base + byNumber));
  } catch (const AutomationError&) {
    return 0;
  }
}

std::int32_t StandaloneClass::AddRecord(const std::string& strNumber, const std::string& strName) {
  std::string columns = type().nameColumn, values = Quoted(strName);
  if (type().numberColumn) {
    columns = std::string(type().numberColumn) + "," + columns;
    values = Quoted(strNumber) + "," + values;
  }
  Run("INSERT INTO " + std::string(type().table) + " (" + columns + type().newRowColumns + ") VALUES (" + values +
      type().newRowValues + ")");
  std::int32_t id = FindByNumberName(strNumber, strName);
  // Without its row the record would update no row, or another: it fails, quoting the insert.
  if (id <= 0) throw AutomationError(kLibraryRefusal, sql::kProviderSource, LoadLangString("执行SQL失败!"));
  CreateCompanionData(id);
  return id;
}

void StandaloneClass::CreateCompanionData(std::int32_t lID) {
  if (type().companionTypes.empty()) return;
  ObjectRef access = modFunction::CreateObjectEx(erp::kDataAccessProgID, "", true);
  auto extra = std::make_shared<TrzRecord>();
  extra->SetValue(type().companionParentKey, m_lParentID);
  // One argument list for all the calls: the record a call leaves in its by-reference argument goes on
  // to the next one, as the component expects of a record with several object types.
  std::vector<Variant> args{m_sPropsString, std::int16_t{-1}, std::int16_t{3}, std::int16_t{0}, lID, true,
                            Variant(extra)};
  for (std::int16_t objectType : type().companionTypes) {
    args[3] = Variant(objectType);
    access->Call("CreateData", args);
  }
}

std::string StandaloneClass::UpdateStatement(const TrzRecord& record, std::int32_t lID) {
  std::string assignments;
  for (const Field& field : type().fields) {
    if (field.in == In::None || !ServicePackAtLeast(field.since)) continue;
    std::optional<std::string> value;
    if (field.in == In::Own) {
      value = OwnValue(field, record);
    } else if (!record.Exists(field.key)) {
      if (field.fallback) value = field.fallback;
    } else if (field.in == In::Text) {
      value = Quoted(textOf(record, field.key));
    } else {
      value = modFunction::NumberValue(record.Item(field.key), field.key);
    }
    if (value) assignments += std::string(field.column) + "=" + *value + ",";
  }
  assignments += "FSystemType=" + std::to_string(m_lSystemType);
  return "UPDATE " + std::string(type().table) + " SET " + assignments + " WHERE " + type().keyColumn + " = " +
         std::to_string(lID);
}

}  // namespace quillane::standalone
