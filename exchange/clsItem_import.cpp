// The import side of the item engine: the document, the per-record transactions, and the writing of
// one record into t_Item and the class's detail table.
#include "exchange/MParse.h"
#include "exchange/clsItem.h"
#include "exchange/clsItem_classes.h"
#include "exchange/clsItem_products.h"
#include "exchange/clsItem_sql.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_barcodes.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_text.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/data_access.h"
#include "platform/sql/errors.h"

namespace quillane {
namespace {

using item_classes::Between;
using modFunction::Quoted;
using mdlLanguage::LoadLangString;

// The setup type "XRTV" gives some classes of the custom item road other detail rows; the props
// string is asked only for those classes.
bool isXRTV() { return UCase(MParse::GetProp("Setuptype")) == "XRTV"; }

// The columns and values of a new detail row, after "INSERT INTO <table>".
std::string detailSkeleton(std::int32_t lClass, const std::string& id, const std::string& strNumber,
                           const std::string& strName) {
  if (item_classes::IsCustomClass(lClass)) return " (FItemID) VALUES (" + id + ")";
  if ((lClass == 15 || Between(lClass, 2005, 2999)) && isXRTV()) {
    if (lClass == 2011) return " (FItemID,FType,FBankAcctNumber,FBankName) VALUES (" + id + ",0,0,'')";
    if (lClass == 15)
      return " (FItemID,FParentID,FShortNumber,FName) VALUES (" + id + ",0," + Quoted(strNumber) + "," +
             Quoted(strName) + ")";
    return " (FItemID) VALUES (" + id + ")";
  }
  if (Between(lClass, 1, 14) || Between(lClass, 2001, 2003) || lClass == 2014)
    return " (FItemID,FNumber,FName) VALUES (" + id + "," + Quoted(strNumber) + "," + Quoted(strName) + ")";
  return " (FItemID,FParentID,FNumber,FName) VALUES (" + id + ",0," + Quoted(strNumber) + "," + Quoted(strName) + ")";
}

}  // namespace

bool clsItem::Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemTypeArg) {
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  this->strPropsString = strPropsString;
  try {
    lSystemType = CLng(Variant(modFunction::NumberValue(lSystemTypeArg, "lSystemType")));
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    return false;
  }
  m_lErrorCount = 0;
  m_counts = {};
  InitItemClass();
  if (!PassesVersionGate(strError)) return false;
  // Also after records that succeeded, an error of the steps that close the import makes it fail.
  return RunCall(strError, [&] {
    bool result = false;
    if (modFunction::ReadXMLToVector(m_vector, strXML, modFunction::SchemaFolder() + Schema, TypeName, strError))
      result = ImportVector(m_vector, strError);
    if (m_conflict.m_DirtyCount > 0) {
      // Copies: what a sink writes into them must not change the engine's count of clashes.
      std::int32_t lItemClassID = ItemClassID, lCounts = m_conflict.m_DirtyCount;
      std::string strContent = m_conflict.m_DirtyString;
      RaiseEventWith("DirtyRecord", kDirtyRecord, lItemClassID, lCounts, strContent);
    }
    modFunction::CallMember(cn, "CloseConn");
    return result;
  });
}

bool clsItem::ImportVector(const std::shared_ptr<TrzRecords>& oVector, std::string& strError) {
  m_vector = oVector;
  m_detailColumns.clear();
  if (!oVector) return true;
  return modFunction::ImportEachRecord(
      *oVector,
      [&](const std::shared_ptr<TrzRecord>& record) {
        // A record's error line quotes one of its own statements or none, never the last record's.
        m_strSQL.clear();
        m_skipReason.clear();
        if (!record) throw vbError(VbError::TypeMismatch, item_sql::kSource);
        modFunction::InTransaction(cn, [&] { ImportRecord(record); });
        return m_skipReason;
      },
      [&](std::int32_t lCur, std::int32_t lTotal, bool& bCancel) { RaiseProgress(lCur, lTotal, bCancel); },
      [&](const TrzRecord* record, const AutomationError& e) { CountFailure(record, e, strError); }, m_counts);
}

void clsItem::CountFailure(const TrzRecord* record, const AutomationError& e, std::string& strError) {
  using modFunction::ShownText;
  ++m_lErrorCount;
  const std::string prefix = LoadLangString("导入") + ClassCaption + LoadLangString("记录") + "(Number:";
  strError += modFunction::ImportErrorLine(
      prefix,
      modFunction::RecordIdentification(ShownText(record, "Number"), ShownText(record, "Name"), ShownText(record, "UUID")),
      e, m_strSQL);
}

std::int32_t clsItem::ImportRecord(const std::shared_ptr<TrzRecord>& record) {
  m_lItemID = 0;
  std::string number = modFunction::RecordText(*record, "Number"), name = modFunction::RecordText(*record, "Name");
  // A record that has neither names no row of its own: it is refused rather than written nameless.
  if (number.empty() && name.empty())
    throw AutomationError(kLibraryRefusal, item_sql::kSource, LoadLangString("记录没有代码也没有名称!"));
  // The values pasted as numbers are checked before anything is written.
  // Without IsDetail the record is neither a group nor a detail: written, it would stand as a detail
  // without its detail row, or miss its existing row. It fails, naming the key.
  if (!record->Exists("IsDetail"))
    throw AutomationError(kLibraryRefusal, item_sql::kSource, LoadLangString("记录缺少必需的键:") + std::string("IsDetail"));
  const std::string isDetailText = modFunction::NumberValue(record->Item("IsDetail"), "IsDetail");
  const std::int32_t lIsDetail = CLng(Variant(isDetailText));
  const bool isDetail = CBool(record->Item("IsDetail"));
  const std::string levelText = record->Exists("Level") ? modFunction::NumberValue(record->Item("Level"), "Level") : "1";
  const std::string isDeleteText =
      record->Exists("IsDelete") ? modFunction::NumberValue(record->Item("IsDelete"), "IsDelete") : std::string();

  // An empty Parent element names no parent; a part of it that is missing reads as the empty text.
  std::int32_t lParent = 0;
  std::shared_ptr<TrzRecord> parent = record->GetRecord("Parent");
  if (parent && parent->Count() > 0) {
    lParent = ImportParent(modFunction::RecordText(*parent, "Number"), modFunction::RecordText(*parent, "Name"),
                           modFunction::RecordText(*parent, "UUID"));
    if (lParent == 0) return 0;
  }

  std::string newNumber;
  const std::string uuid(Trim(modFunction::RecordText(*record, "UUID")));
  if (CheckByUUID && !uuid.empty()) m_lItemID = GetIDByUUID(uuid);
  if (m_lItemID == 0) m_lItemID = CheckExistence(number, name, newNumber, lIsDetail);
  if (m_lItemID == -1) {
    if (newNumber.empty()) return 0;
    // The user's new number must be free, or the record would be written under another record's.
    if (!modFunction::IsEOF(Query(item_sql::ItemByNumber(ItemClassID, newNumber))))
      throw AutomationError(kLibraryRefusal, item_sql::kSource, LoadLangString("新的代码已经存在:") + newNumber);
    number = newNumber;
  }
  if (ItemClassID == item_classes::kCostObject && (number == "MaterielShareID" || number == "MaterielMakeID")) {
    m_skipReason = modFunction::kSkipReservedNumber;
    return m_lItemID > 0 ? m_lItemID : 0;
  }

  const bool isNew = m_lItemID < 1;
  // The tree must stay a tree: the record under itself, or under one of its own descendants, would
  // leave both out of every walk from the root.
  if (!isNew && lParent != 0 &&
      modFunction::IsSelfOrDescendant(m_lItemID, lParent, "t_Item", "FItemID",
                                      [&](const std::string& statement) { return Query(statement); }))
    throw modFunction::ParentCycleError(item_sql::kSource, modFunction::RecordText(*parent, "Number"));
  if (isNew) AddRecord(number, name, newNumber, lParent, lIsDetail, isDetail);
  if (!TableName.empty() && (isNew || !AddNewOnly)) UpdateDetailRow(record, number, name, lParent, isDetail);
  UpdateItemRow(*record, number, name, lParent, isDetailText, levelText, isDeleteText);
  if (item_classes::IsSystemClass(ItemClassID)) {
    ObjectRef access = modFunction::CreateObjectEx(erp::kDataAccessProgID, "", true);
    std::vector<Variant> args{strPropsString, std::int16_t{1}, ItemClassID, m_lItemID, lParent};
    access->Call("UpdateData", args);
  }
  Run("UPDATE t_Item SET FDetail=0 WHERE FItemID=" + std::to_string(lParent) +
      " and FItemID<>0 AND FItemClassID = " + std::to_string(ItemClassID));
  Run("UPDATE t_Item SET FFullNumber=FNumber  WHERE " + modFunction::DescendantsOf(number) +
      "  AND FItemClassID = " + std::to_string(ItemClassID));
  if (!TableName.empty()) RenumberDescendants(number, lParent);
  if (record->Exists("BarCodes")) {
    m_strSQL.clear();  // the bar codes' statements are their own: none of the engine's is to be quoted for them
    modFunction::SaveBarCodes(cn, ItemClassID, m_lItemID, *record->Item("BarCodes").objectAs<TrzRecords>());
  }
  if (ItemClassID == item_classes::kMaterial) MirrorAsCostObject(*record, number, lIsDetail);
  return m_lItemID;
}

void clsItem::AddRecord(const std::string& strNumber, const std::string& strName, std::string& strNewNumber,
                        std::int32_t lParent, std::int32_t lIsDetail, bool isDetail) {
  Run(item_sql::NewItemRow(ItemClassID, 1, 1, strNumber, strName));
  // The number is free (the existence check found no row, or the new number was checked), so the row
  // found under it is the one just inserted.
  m_lItemID = CheckExistence(strNumber, strName, strNewNumber, 1);
  if (m_lItemID < 1)
    throw AutomationError(kLibraryRefusal, sql::kProviderSource, LoadLangString("执行SQL失败!"));
  if (item_classes::IsSystemClass(ItemClassID)) {
    ObjectRef access = modFunction::CreateObjectEx(erp::kDataAccessProgID, "", true);
    auto extra = std::make_shared<TrzRecord>();
    extra->SetValue("ParentID", lParent);
    std::vector<Variant> args{strPropsString, std::int16_t{-1}, std::int16_t{1}, ItemClassID, m_lItemID, lIsDetail,
                              Variant(extra)};
    access->Call("CreateData", args);
  }
  if (!TableName.empty() && isDetail)
    Run("INSERT INTO " + TableName + detailSkeleton(ItemClassID, std::to_string(m_lItemID), strNumber, strName));
}

void clsItem::UpdateDetailRow(const std::shared_ptr<TrzRecord>& record, const std::string& strNumber,
                              const std::string& strName, std::int32_t lParent, bool isDetail) {
  const std::string id = std::to_string(m_lItemID);
  if (!isDetail) {
    // A group keeps no detail row.
    if (!modFunction::IsEOF(Query("SELECT * FROM " + TableName + " WHERE FItemID=" + id)))
      Run("DELETE FROM " + TableName + " WHERE FItemID=" + id);
    return;
  }
  std::string update = "UPDATE " + TableName + " SET ";
  if ((ItemClassID < 1000 || Between(ItemClassID, 2000, 2999)) && !(Between(ItemClassID, 2005, 2999) && isXRTV())) {
    if (lParent != 0) update += "FParentID = " + std::to_string(lParent) + ",";
    update += "FShortNumber = " + Quoted(modFunction::AfterLastDot(strNumber)) + ",";
  }
  if (TableHasColumn("FNumber")) update += "FNumber=" + Quoted(strNumber) + ",";
  if (TableHasColumn("FName")) update += "FName=" + Quoted(strName) + ",";
  m_strSQL = update;
  auto handed = record;
  RaiseEventWith("CommonImportSpecial", kCommonImportSpecial, handed, m_strSQL);
  if (!m_strSQL.ends_with("SET ")) {
    // A refused UPDATE fails the record, suppliers' included: a record counted as imported must not
    // have lost its detail columns.
    m_strSQL = Left(m_strSQL, Len(m_strSQL) - 1) + " WHERE  FItemID=" + id;
    modFunction::ExecuteSQL(cn, m_strSQL);
  }
  if (ItemClassID == item_classes::kMaterial) {
    if (auto auxClass = record->GetRecord("AuxClass"); auxClass && auxClass->Exists("ItemAuxProp"))
      SaveAuxProp(*this, CStr(auxClass->Item("ItemAuxProp")));
  }
  if (ItemClassID == item_classes::kCostObject) ImportCBObjectMaterial(*this, record->GetVector("Material"), m_lItemID);
}

bool clsItem::TableHasColumn(const char* column) {
  // The detail table does not change while records are imported: each column is asked for once.
  const std::string key = TableName + "." + column;
  auto known = m_detailColumns.find(key);
  if (known != m_detailColumns.end()) return known->second;
  const bool has = !modFunction::IsEOF(Query("SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name=" +
                                             Quoted(TableName) + ") AND name=" + Quoted(column)));
  m_detailColumns.emplace(key, has);
  return has;
}

void clsItem::UpdateItemRow(const TrzRecord& record, const std::string& strNumber, const std::string& strName,
                            std::int32_t lParent, const std::string& isDetailText, const std::string& levelText,
                            const std::string& isDeleteText) {
  std::string update = "UPDATE t_Item SET FNumber = " + Quoted(strNumber) + ",FFullNumber = " + Quoted(strNumber) +
                       ",FShortNumber = " + Quoted(modFunction::AfterLastDot(strNumber)) + ",FName=" + Quoted(strName) +
                       ",FParentID=" + std::to_string(lParent) + ",FDetail=" + isDetailText + ",FLevel=" + levelText;
  if (!isDeleteText.empty()) update += ",FDeleted=" + isDeleteText;
  update += ",FSystemType=" + std::to_string(lSystemType) + ",UUID = " + Quoted(modFunction::RecordText(record, "UUID")) +
            " WHERE FItemClassID=" + std::to_string(ItemClassID) + " AND FItemID=" + std::to_string(m_lItemID);
  Run(std::move(update));
}

// The descendants' numbers follow into the detail table, and the detail row takes its parent.
void clsItem::RenumberDescendants(const std::string& strNumber, std::int32_t lParent) {
  auto renumber = [&](const std::string& table) {
    return "UPDATE " + table + " SET FNumber =i.F1  FROM (SELECT FNumber F1,FItemID FID1,FParentID FPID1 FROM t_Item WHERE " +
           modFunction::DescendantsOf(strNumber) + " AND FItemClassID = " + std::to_string(ItemClassID) +
           ") i WHERE FItemID=i.FID1 ";
  };
  const std::string setParent = "UPDATE " + TableName + " SET FParentID =  " + std::to_string(lParent) +
                                " WHERE FItemID = " + std::to_string(m_lItemID);
  const std::int32_t c = ItemClassID;
  if (c == 1 || c == 2 || c == 3 || c == 5 || c == 8 || Between(c, 2006, 2008) || c == 2014) {
    Run(renumber(TableName));
    Run(setParent);
  } else if (Between(c, 2001, 2004) || Between(c, 20, 1999) || c >= 3000) {
    Run(renumber(TableName));
  } else if (c == item_classes::kMaterial) {
    Run(renumber("t_ICItemCore") + "  " + setParent);
  }
}

}  // namespace quillane
