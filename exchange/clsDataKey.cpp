#include "exchange/clsDataKey.h"

#include "exchange/MParse.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_text.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/read_session.h"

namespace quillane {
namespace {

constexpr const char* kSource = "Tarnwick.clsDataKey";
constexpr const char* kFromBeginning = "0x0000000000000000";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

// The item types: their ItemObject, item class and own table (industrial, commercial).
struct ItemType {
  std::int32_t lIO;
  std::int32_t itemClassID;
  const char* industrialTable;
  const char* commercialTable;  // null: refused in a commercial account set
  const char* commercialRefusal;
};
constexpr ItemType kItemTypes[] = {
    {4, 7, "t_MeasureUnit", "t_MeasureUnit", nullptr},
    {5, 1, "t_Organization", "t_Organization", nullptr},
    {6, 2, "t_Department", "t_Department", nullptr},
    {7, 3, "t_Emp", "t_Emp", nullptr},
    {8, 4, "t_ICItem", "COM_Item", nullptr},
    {9, 5, "t_Stock", "COM_Stock", nullptr},
    {11, 8, "t_supplier", "t_supplier", nullptr},
    {12, 10, "t_SonCompany", "t_SonCompany", nullptr},
    {13, 14, "t_WorkCenter", nullptr, "商业账套不支持工作中心删除关键字的导入导出!"},
    {18, 2014, "t_Fee", nullptr, "商业账套不支持费用删除关键字的导入导出!"},
};

const ItemType* findItemType(std::int32_t lIO) {
  for (const ItemType& t : kItemTypes)
    if (t.lIO == lIO) return &t;
  return nullptr;
}

// The standalone types: the table keyed by UUID and its identity column.
struct OwnTable {
  const char* table;
  const char* idColumn;
};
OwnTable standaloneTable(std::int32_t lIO) {
  switch (lIO) {
    case 1: return {"t_Account", "FAccountID"};
    case 2: return MParse::IsIndustry() ? OwnTable{"t_SubMessage", "FInterID"} : OwnTable{"com_SysType", "FSysTypeID"};
    case 3: return {"t_Currency", "FCurrencyID"};
  }
  return {nullptr, nullptr};
}

[[noreturn]] void refuse(const char* message) {
  throw AutomationError(kLibraryRefusal, kSource, mdlLanguage::LoadLangString(message));
}

std::string itemCaption(std::int32_t itemClassID) {
  switch (itemClassID) {
    case 1: return "核算项目--客户";
    case 2: return "核算项目--部门";
    case 3: return "核算项目--职员";
    case 4: return "核算项目--物料(商品)";
    case 5: return "核算项目--仓库";
    case 8: return "核算项目--供应商";
    case 10: return "核算项目--分支机构";
    case 14: return "核算项目--工作中心";
    case 2014: return "核算项目--费用";
  }
  return "未知类别";
}

// The caption of a key's data class, by its table (and, for items, its item class).
std::string keyCaption(const std::string& tableName, std::int32_t itemClassID) {
  std::string table = UCase(Trim(tableName));
  if (table == "T_ITEM") return itemCaption(itemClassID);
  if (table == "T_ACCOUNT") return "科目";
  if (table == "T_CURRENCY") return "币别";
  if (table == "T_MEASUREUNIT") return "计量单位";
  if (table == "COM_SYSTYPE" || table == "T_SUBMESSAGE") return "辅助资料";
  return "未知类别";
}

std::string textOr(const Variant& v, const std::string& fallback = {}) { return v.isNull() ? fallback : CStr(v); }

}  // namespace

std::string DataKeyCaption(std::int32_t lIO) {
  // The table and item class GetTableInfo gives the type, through the captions PackageRecordset writes.
  if (const ItemType* item = findItemType(lIO)) return itemCaption(item->itemClassID);
  const OwnTable own = standaloneTable(lIO);
  return own.table ? keyCaption(own.table, 0) : std::string();
}

clsDataKey::clsDataKey() { modFunction::InitSchemaFolder(); }

clsDataKey::~clsDataKey() {
  try {
    closeConnection();
  } catch (const AutomationError&) {
    // The object is going away; a connection that cannot close is released all the same.
  }
}

void clsDataKey::closeConnection() {
  if (m_cn) modFunction::CallMember(m_cn, "CloseConn");
}

void clsDataKey::GetTableInfo() {
  if (const ItemType* item = findItemType(m_lIO)) {
    if (!MParse::IsIndustry() && !item->commercialTable) refuse(item->commercialRefusal);
    m_strTableName = "t_Item";
    m_lItemClassID = item->itemClassID;
    return;
  }
  OwnTable own = standaloneTable(m_lIO);
  if (!own.table) refuse("不支持不识别删除关键字的导入导出!");
  m_strTableName = own.table;
  m_lItemClassID = 0;
}

std::string clsDataKey::GetMaxTimeStamp() {
  m_strSQL = "SELECT MAX(FModifyTime) as FMT FROM t_BaseDataDeleted WHERE FItemClassID=" +
             std::to_string(m_lItemClassID) + " AND FTableName='" + modFunction::EscapeQuotes(m_strTableName) + "'";
  ObjectRef rs = modFunction::GetAnyRecordSet(m_cn, m_strSQL);
  return modFunction::IsEOF(rs) ? kFromBeginning : modFunction::BytesToHex(modFunction::FieldValue(rs, "FMT"));
}

ObjectRef clsDataKey::GetList(std::int32_t lPerCount, std::string& strTimeStamp) {
  const std::string where = " * FROM t_BaseDataDeleted WHERE FItemClassID=" + std::to_string(m_lItemClassID) +
                            " AND FTableName='" + modFunction::EscapeQuotes(m_strTableName) + "'" +
                            " AND (FModifyTime>" + strTimeStamp + ")";
  const bool paged = lPerCount != 0;
  const std::string head = paged ? "SELECT TOP " + std::to_string(lPerCount) : std::string("SELECT");
  m_strSQL = head + where + " ORDER BY FModifyTime";
  ObjectRef rs = modFunction::GetAnyRecordSet(m_cn, m_strSQL);
  if (modFunction::IsEOF(rs)) {
    strTimeStamp = kNothingLeft;
    return rs;
  }
  // SQL Server takes ORDER BY in a derived table only together with TOP; the whole-type page needs no
  // order to find its highest stamp.
  const std::string selection = paged ? m_strSQL : head + where;
  m_strSQL = "SELECT MAX(u.FModifyTime) FMT FROM ( " + selection + ") u";
  ObjectRef last = modFunction::GetAnyRecordSet(m_cn, m_strSQL);
  strTimeStamp = modFunction::BytesToHex(modFunction::FieldValue(last, "FMT"));
  return rs;
}

std::shared_ptr<TrzRecords> clsDataKey::PackageRecordset(const ObjectRef& rs) {
  auto vect = std::make_shared<TrzRecords>();
  for (; !modFunction::IsEOF(rs); modFunction::MoveNext(rs)) {
    auto record = std::make_shared<TrzRecord>();
    const Variant itemClass = modFunction::FieldValue(rs, "FItemClassID");
    record->SetValue("Remark", keyCaption(textOr(modFunction::FieldValue(rs, "FTableName")),
                                          itemClass.isNull() ? 0 : CLng(itemClass)));
    record->SetValue("UUID", modFunction::FieldValue(rs, "FDeletedUUID"));
    vect->Add(Variant(record));
  }
  return vect;
}

bool clsDataKey::ExportXMLDataKey(std::string strPropsString, std::int32_t lIO, std::string& strXML,
                                  std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                                  std::string& strError) {
  sql::ReadSession session;  // the props check and the page read through one connection
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  m_lIO = lIO;
  if (strTimeStamp.empty()) strTimeStamp = kFromBeginning;
  m_strSQL.clear();
  try {
    modFunction::RequireTimeStampText(strTimeStamp, kSource);
    GetTableInfo();
    modFunction::OpenConnection(m_cn);
    modFunction::HoldReads(m_cn);
    strMaxTimeStamp = GetMaxTimeStamp();
    ObjectRef rs = GetList(lPerCount, strTimeStamp);
    std::shared_ptr<TrzRecords> vect = PackageRecordset(rs);
    closeConnection();
    return modFunction::WriteVectorToXML(vect, strXML, modFunction::SchemaFolder() + "Delete.xsd", "Delete", strError);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, m_strSQL);
    modFunction::CallMemberQuietly(m_cn, "CloseConn");
    return false;
  }
}

bool clsDataKey::ImportXMLDataKey(std::string& strPropsString, std::int32_t lIO, std::string strXML,
                                  std::string& strError) {
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  m_lIO = lIO;
  m_strSQL.clear();
  m_lErrorCount = 0;
  try {
    GetTableInfo();
    modFunction::OpenConnection(m_cn);
    std::shared_ptr<TrzRecords> vect;
    bool result = false;
    if (modFunction::ReadXMLToVector(vect, strXML, modFunction::SchemaFolder() + "Delete.xsd", "Delete", strError))
      result = ImportVector(*vect, strError);
    closeConnection();
    return result;
  } catch (const AutomationError& e) {
    // The error replaces what the import had gathered, as callers of this class have always read it.
    strError = modFunction::FormatErrInfo(e, m_strSQL);
    modFunction::CallMemberQuietly(m_cn, "RollbackTrans");
    modFunction::CallMemberQuietly(m_cn, "CloseConn");
    return false;
  }
}

bool clsDataKey::ImportVector(const TrzRecords& vect, std::string& strError) {
  modFunction::ImportCounts counts;
  try {
    return modFunction::ImportEachRecord(
        vect,
        [&](const std::shared_ptr<TrzRecord>& record) {
          if (record) modFunction::InTransaction(m_cn, [&] { DeleteByUUID(*record); });
          return std::string();
        },
        [](std::int32_t, std::int32_t, bool&) {},
        [&](const TrzRecord* record, const AutomationError& e) {
          ++m_lErrorCount;
          strError += mdlLanguage::LoadLangString("导入关键字记录(Mark:") +
                      mdlLanguage::LoadLangString(modFunction::ShownText(record, "Mark")) + " UUID:" +
                      modFunction::ShownText(record, "UUID") + mdlLanguage::LoadLangString(")失败!") + "\r\n" +
                      modFunction::FormatErrInfo(e, "") + "\r\n";
        },
        counts);
  } catch (const AutomationError& e) {
    // The storage failed, or another program held the set locked past the wait: no later key could be
    // done either. The keys before it stay done, and their lines stay before its message.
    modFunction::ReportCallError(strError, e, "", counts);
    return false;
  }
}

void clsDataKey::DeleteByUUID(const TrzRecord& record) {
  const std::string uuid = textOr(record.GetValue("UUID", ""));
  // A key without a UUID names no record: matching it would delete whatever row has an empty UUID.
  if (Trim(uuid).empty()) return;
  const std::string quoted = "'" + modFunction::EscapeQuotes(uuid) + "'";
  if (const ItemType* item = findItemType(m_lIO)) {
    DeleteItemByUUID(uuid, MParse::IsIndustry() ? item->industrialTable : item->commercialTable);
    return;
  }
  OwnTable own = standaloneTable(m_lIO);
  m_strSQL = std::string("SELECT ") + own.idColumn + " FROM " + own.table + " WHERE UUID=" + quoted;
  if (modFunction::IsEOF(modFunction::GetAnyRecordSet(m_cn, m_strSQL))) return;
  m_strSQL = std::string("DELETE FROM ") + own.table + " WHERE UUID=" + quoted;
  modFunction::ExecuteSQL(m_cn, m_strSQL);
}

void clsDataKey::DeleteItemByUUID(const std::string& strUUID, const std::string& strOwnTable) {
  // Only an item of this data type's class: a UUID shared with an item of another class leaves it be.
  m_strSQL = "SELECT FItemID FROM t_Item WHERE UUID='" + modFunction::EscapeQuotes(strUUID) +
             "' AND FItemClassID=" + std::to_string(m_lItemClassID);
  ObjectRef rs = modFunction::GetAnyRecordSet(m_cn, m_strSQL);
  if (modFunction::IsEOF(rs)) return;
  const std::string id = std::to_string(CLng(modFunction::FieldValue(rs, "FItemID")));
  m_strSQL = "DELETE FROM t_Item WHERE FItemID=" + id;
  modFunction::ExecuteSQL(m_cn, m_strSQL);
  m_strSQL = "DELETE FROM " + strOwnTable + " WHERE FItemID=" + id;
  modFunction::ExecuteSQL(m_cn, m_strSQL);
}

const DispatchTable& clsDataKey::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<clsDataKey>()
          .method("ExportXMLDataKey", 1, &clsDataKey::ExportXMLDataKey,
                  {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
          .method("ImportXMLDataKey", 2, &clsDataKey::ImportXMLDataKey)
          .get("ErrorCount", 3, &clsDataKey::ErrorCount)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Quillane.clsDataKey", clsDataKey)

}  // namespace quillane
