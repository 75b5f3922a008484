// The import of documents of custom item classes: each class record in a transaction of its own (the
// class, its table's columns, its property descriptions and its access rights), committed before the
// class's items go through an engine, each item in a transaction of the engine's.
#include <climits>

#include "accountset/custom_item_class.h"
#include "exchange/MParse.h"
#include "exchange/clsItem_classes.h"
#include "exchange/modFunction_sql.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_conflict.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_rights.h"
#include "exchange/modFunction_xml.h"
#include "exchange/modFunction_import.h"
#include "itemtypes/clsItemClass.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {
namespace {

using modFunction::Quoted;
using mdlLanguage::LoadLangString;

constexpr std::int32_t kImportRight = 16777216;
constexpr std::int32_t kTextType = 200;

// A whole number of the document in the range of the column it goes into; absent: fallback.
std::int32_t numberOf(const TrzRecord& record, std::string_view key, std::int32_t fallback, std::int32_t low,
                      std::int32_t high) {
  return record.Exists(key) ? modFunction::WholeNumber(record.Item(key), key, low, high) : fallback;
}

constexpr std::int32_t kSmallMin = -32768, kSmallMax = 32767;

// The item classes of the data types that have a class of their own in this library: their records
// carry columns of their own that a class document knows nothing of. Units of measure are items of
// class 7, exchanged by their own standalone class.
bool HasItsOwnClass(std::int32_t lItemClassID) {
  return item_classes::Find(lItemClassID) != nullptr || lItemClassID == item_classes::kUnitsOfMeasure;
}

bool IsClassTableOwnColumn(std::string_view column) {
  for (std::string_view own : accountset::kClassTableOwnColumns)
    if (SameText(own, column)) return true;
  return false;
}

}  // namespace

bool clsItemClass::Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType) {
  m_sPropsString = strPropsString;
  // The counts are of this import: a class without items must not report the failures of another.
  m_ErrorCount = m_lFailedItems = m_lFailedClasses = 0;
  m_itemCounts = {};
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  try {
    m_lSystemType = modFunction::WholeNumber(lSystemType, "lSystemType", INT_MIN, INT_MAX);
    modFunction::OpenConnection(m_oConn);
    std::shared_ptr<TrzRecords> vect;
    bool result = false;
    if (modFunction::ReadXMLToVector(vect, strXML, modFunction::SchemaFolder() + "ItemClass.xsd", "ItemClass", strError))
      result = ImportVector(vect, strError);
    modFunction::CallMember(m_oConn, "CloseConn");
    return result;
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    return false;
  }
}

bool clsItemClass::ImportVector(const std::shared_ptr<TrzRecords>& oVector, std::string& strError) {
  bool result = true;
  for (const Variant& entry : *oVector) {
    const ObjectRef* object = entry.tryAs<ObjectRef>();
    std::shared_ptr<TrzRecord> record = object ? std::dynamic_pointer_cast<TrzRecord>(*object) : nullptr;
    try {
      if (!record) {
        ++m_lFailedClasses;
        throw vbError(VbError::TypeMismatch, kSource);
      }
      ImportRecord(record);
    } catch (const AutomationError& e) {
      result = false;
      strError += modFunction::ImportErrorLine(
          LoadLangString("导入自定义核算项目记录(Number:"),
          modFunction::RecordIdentification(modFunction::ShownText(record.get(), "Number"), modFunction::ShownText(record.get(), "Name"),
                                            modFunction::ShownText(record.get(), "UUID")),
          e, "");
    }
  }
  // The batches of one file tell each clash once: a batch raises only the clashes met since the last.
  const std::int32_t lTold = m_bBatchesOfOneFile ? m_lDirtyCountTold : 0;
  if (m_conflict.m_DirtyCount > lTold) {
    // Copies: what a sink writes into them must not change the object's count of clashes.
    std::int32_t lItemClassID = 0, lCounts = m_conflict.m_DirtyCount - lTold;
    std::string strContent = m_conflict.m_DirtyString.substr(m_bBatchesOfOneFile ? m_lDirtyTextTold : 0);
    m_lDirtyCountTold = m_conflict.m_DirtyCount;
    m_lDirtyTextTold = m_conflict.m_DirtyString.size();
    RaiseEventWith("DirtyRecord", kDirtyRecord, lItemClassID, lCounts, strContent);
  }
  return result;
}

std::int32_t clsItemClass::ImportRecord(const std::shared_ptr<TrzRecord>& oRecord) {
  const std::string strNumber = modFunction::RecordText(*oRecord, "Number"), strName = modFunction::RecordText(*oRecord, "Name");
  std::int32_t lItemClassID = 0;
  std::string strTable;
  bool open = false, committed = false;
  try {
    // A class without a number and a name would be created nameless.
    if (strNumber.empty() && strName.empty())
      throw AutomationError(kLibraryRefusal, kSource, LoadLangString("记录没有代码也没有名称!"));
    // A class without a name cannot be exported by it, and its empty caption would stand for the
    // source of every property that names none.
    if (Trim(strName).empty()) throw AutomationError(kLibraryRefusal, kSource, LoadLangString("自定义核算项目没有名称!"));
    modFunction::CallMember(m_oConn, "BeginTrans");
    open = true;
    std::string strNewNumber;
    const DecidedClass* earlier = DecidedEarlier(*oRecord);
    if (earlier && earlier->bLeftOut) {
      modFunction::CallMember(m_oConn, "RollbackTrans");
      return earlier->lItemClassID;
    }
    if (earlier) lItemClassID = earlier->lItemClassID;
    if (!earlier && m_CheckByUUID && oRecord->Exists("UUID")) lItemClassID = GetIDByUUID(std::string(Trim(modFunction::RecordText(*oRecord, "UUID"))));
    if (lItemClassID == 0) lItemClassID = CheckExistence(strNumber, strName, strNewNumber);
    if (lItemClassID == -1 && strNewNumber.empty()) {
      modFunction::CallMember(m_oConn, "RollbackTrans");
      RememberClass(*oRecord, {-1, true});
      return -1;
    }
    if (lItemClassID > 0) {
      RefuseClassOfItsOwnType(lItemClassID);
      // A class this file created is new for all its batches.
      if (m_AddNewOnly && !earlier) {
        modFunction::CallMember(m_oConn, "RollbackTrans");
        RememberClass(*oRecord, {lItemClassID, true});
        return lItemClassID;
      }
      if (!modFunction::HasAccessRight(3, lItemClassID, kImportRight))
        throw AutomationError(kLibraryRefusal, kSource, LoadLangString("没有权限!"));
    } else {
      lItemClassID = CreateItemClass(*oRecord, strNewNumber.empty() ? strNumber : strNewNumber);
    }

    m_strSQL = "SELECT FSQLTableName FROM t_ItemClass WHERE FItemClassID=" + std::to_string(lItemClassID);
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
    if (!modFunction::IsEOF(rs)) {
      Variant table = modFunction::FieldValue(rs, "FSQLTableName");
      if (!table.isNull() && !CStr(table).empty()) strTable = modFunction::Identifier(CStr(table), "SQLTableName");
    }
    // The descriptions of one class never stand in for another's.
    m_oPropDescs = std::make_shared<TrzRecord>();
    std::shared_ptr<TrzRecords> descriptions = oRecord->GetVector("CustomPropertyStruct");
    if (!strTable.empty() && descriptions)
      for (const Variant& entry : *descriptions)
        ImportPropertyDesc(lItemClassID, strTable, entry.objectAs<TrzRecord>());
    ImportAccessRights(lItemClassID, strName);
    modFunction::CallMember(m_oConn, "CommitTrans");
    open = false;
    committed = true;
    RememberClass(*oRecord, {lItemClassID, false});

    if (std::shared_ptr<TrzRecords> items = oRecord->GetVector("Item"); items && items->Count() > 0)
      ImportItems(lItemClassID, strName, strTable, items);
  } catch (const AutomationError& e) {
    if (open) modFunction::CallMemberQuietly(m_oConn, "RollbackTrans");
    // After the commit only items can have failed; they are counted as items. A class refused in one
    // batch of a file is refused for the file: its later batches neither try it again nor count it twice.
    if (!committed) {
      ++m_lFailedClasses;
      RememberClass(*oRecord, {0, true});
    }
    throw AutomationError(kLibraryRefusal, kSource, e.description);
  }

  // The ERP's defaults of the previous class, once the import has moved on to another one.
  if (m_lCurClassID != 0 && m_lCurClassID != lItemClassID) {
    try {
      std::vector<Variant> args{Variant(m_lCurClassID), Variant(MParse::GetConnectString())};
      m_oConn->Call("AddDefault", args);
    } catch (const AutomationError&) {
      // The defaults are the connection component's matter; the class is imported without them.
    }
  }
  m_lCurClassID = lItemClassID;
  return lItemClassID;
}

namespace {

std::string ClassKey(const TrzRecord& oRecord) {
  return modFunction::RecordText(oRecord, "Number") + '\n' + modFunction::RecordText(oRecord, "Name") + '\n' +
         modFunction::RecordText(oRecord, "UUID");
}

}  // namespace

void clsItemClass::RememberClass(const TrzRecord& oRecord, DecidedClass decided) {
  if (m_bBatchesOfOneFile) m_decidedClasses.insert_or_assign(ClassKey(oRecord), decided);
}

const clsItemClass::DecidedClass* clsItemClass::DecidedEarlier(const TrzRecord& oRecord) const {
  const auto found = m_decidedClasses.find(ClassKey(oRecord));
  return found == m_decidedClasses.end() ? nullptr : &found->second;
}

void clsItemClass::ImportItems(std::int32_t lItemClassID, const std::string& strName, const std::string& strTable,
                               const std::shared_ptr<TrzRecords>& oItems) {
  CreateEngine(lItemClassID, strName, strTable);
  oItem->HaveInterFace = m_HaveInterFace;
  oItem->AddNewOnly = m_AddNewOnly;
  oItem->CheckByUUID = m_CheckByUUID;
  oItem->lSystemType = m_lSystemType;
  oItem->strPropsString = m_sPropsString;
  std::string strItemError;
  const bool ok = oItem->ImportVector(oItems, strItemError);
  m_lFailedItems += oItem->ErrorCount();
  m_ErrorCount = m_lFailedItems;
  m_itemCounts.Add(oItem->Counts());
  oItem.reset();
  // The class stays; its record's error line holds the lines of the items that failed.
  if (!ok) throw AutomationError(kLibraryRefusal, kSource, strItemError);
}

void clsItemClass::RefuseClassOfItsOwnType(std::int32_t lItemClassID) {
  if (!HasItsOwnClass(lItemClassID)) return;
  m_strSQL = "SELECT FName FROM t_ItemClass WHERE FItemClassID=" + std::to_string(lItemClassID);
  ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
  const std::string strName = modFunction::IsEOF(rs) ? std::string() : CStr(modFunction::FieldValue(rs, "FName"));
  throw AutomationError(kLibraryRefusal, kSource, LoadLangString("系统的基础资料类别不能作为自定义核算项目导入:") + strName);
}

std::int32_t clsItemClass::GetIDByUUID(const std::string& strUUID) {
  try {
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, "Select FItemClassID From t_ItemClass Where UUID=" + Quoted(strUUID));
    return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, "FItemClassID"));
  } catch (const AutomationError&) {
    // Not found by its UUID: the class is looked for by its number and name next.
    return 0;
  }
}

std::int32_t clsItemClass::CheckExistence(const std::string& strNumber, const std::string& strName,
                                          std::string& strNewNumber) {
  auto firstID = [this](const std::string& condition) {
    m_strSQL = "Select FItemClassID from t_ItemClass Where " + condition;
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
    return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, "FItemClassID"));
  };
  if (std::int32_t id = firstID("FNumber=" + Quoted(strNumber) + " AND FName=" + Quoted(strName)); id != 0) return id;
  if (std::int32_t id = firstID("FNumber=" + Quoted(strNumber)); id != 0) {
    // The clash is reported under the class's own name.
    const std::int32_t result =
        modFunction::SettleClash(m_conflict, m_HaveInterFace, id, strNumber, strName, strName, strNewNumber);
    // The number the user gave must be free, or the class would be created under another one's.
    if (result == -1 && !strNewNumber.empty() && firstID("FNumber=" + Quoted(strNewNumber)) != 0)
      throw AutomationError(kLibraryRefusal, kSource, LoadLangString("新的代码已经存在:") + strNewNumber);
    return result;
  }
  // Another class has the name under another number: the record cannot be imported, and says so.
  if (firstID("FName=" + Quoted(strName)) != 0)
    throw AutomationError(kLibraryRefusal, kSource, LoadLangString("另一个代码的自定义核算项目已经使用这个名称:") + strName);
  return 0;
}

void clsItemClass::ImportPropertyDesc(std::int32_t lItemClassID, const std::string& strTable,
                                      const std::shared_ptr<TrzRecord>& oDesc) {
  const std::string id = std::to_string(lItemClassID);
  // Every value a statement takes as SQL text is checked first; texts stand between quotes.
  const std::string name = modFunction::RecordText(*oDesc, "Name");
  // Without a column the items' values of the property would have nowhere to go: each item that has
  // one would fail on a column with no name. The description is refused, by its name, instead.
  std::string column = modFunction::RecordText(*oDesc, "SQLColumnName");
  if (column.empty())
    throw AutomationError(kLibraryRefusal, kSource, LoadLangString("自定义属性没有存放值的列(SQLColumnName):") + name);
  column = modFunction::Identifier(column, "SQLColumnName");
  if (IsClassTableOwnColumn(column))
    throw AutomationError(kLibraryRefusal, kSource, LoadLangString("自定义属性不能存放在核算项目自身的列中:") + column);
  // A lookup's names go into the export's statements: what could not be used there is not stored.
  if (const std::string srcTable = modFunction::RecordText(*oDesc, "SrcTable"); !srcTable.empty()) {
    modFunction::Identifier(srcTable, "SrcTable");
    modFunction::Identifier(modFunction::RecordText(*oDesc, "SrcField"), "SrcField");
    modFunction::Identifier(modFunction::RecordText(*oDesc, "DisplayField"), "DisplayField");
  }
  const bool hasDataType = oDesc->Exists("DataType");
  const std::int32_t lDataType = numberOf(*oDesc, "DataType", 0, INT_MIN, INT_MAX);
  const std::int32_t lActualSize = numberOf(*oDesc, "ActualSize", 10, lDataType == kTextType ? 1 : 0, 8000);
  const std::string precision = std::to_string(numberOf(*oDesc, "Precision", 2, kSmallMin, kSmallMax));
  const std::string scale = std::to_string(numberOf(*oDesc, "Scale", 0, kSmallMin, kSmallMax));
  auto wholeNumber = [&](std::string_view key) {
    return std::to_string(modFunction::WholeNumber(oDesc->Item(key), key, INT_MIN, INT_MAX));
  };

  m_strSQL = "IF NOT EXISTS (SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name=" +
             Quoted(strTable) + ") AND name=" + Quoted(column) + ")\r\nALTER TABLE " + strTable + " ADD " + column + " " +
             accountset::PropertyColumnType(lDataType, std::to_string(lActualSize));
  modFunction::ExecuteSQL(m_oConn, m_strSQL);

  // Matched by the name it is stored under, whatever the user's language.
  m_strSQL = "SELECT * FROM t_ItemPropDesc WHERE FName=" + Quoted(name) + " AND FItemClassID=" + id;
  // A description that held no values (another program stored it without a column) may be given one.
  bool givesColumn = false;
  if (ObjectRef stored = modFunction::GetAnyRecordSet(m_oConn, m_strSQL); !modFunction::IsEOF(stored)) {
    // The items' values stay where the description says they are: in another column nothing would
    // read them, and the values already stored would be lost to the export.
    const Variant storedColumn = modFunction::FieldValue(stored, "FSQLColumnName");
    const std::string storedText = storedColumn.isNull() ? std::string() : CStr(storedColumn);
    if (!storedText.empty() && !SameText(storedText, column))
      throw AutomationError(kLibraryRefusal, kSource,
                            LoadLangString("自定义属性") + name + LoadLangString("的列是") + storedText +
                                LoadLangString("，不能改为") + column);
    givesColumn = storedText.empty();
  } else {
    m_strSQL = "SELECT MAX(FPropID) AS FPropID FROM t_ItemPropDesc";
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
    // An empty table has no highest number: the first description gets 1.
    Variant highest = modFunction::IsEOF(rs) ? Variant() : modFunction::FieldValue(rs, "FPropID");
    const std::int32_t lNext = (highest.isNull() || highest.isEmpty() ? 0 : CLng(highest)) + 1;
    const std::string dataType = std::to_string(hasDataType ? lDataType : kTextType);
    const std::string quotedName = Quoted(CStr(oDesc->Item("Name")));
    m_strSQL = "INSERT INTO t_ItemPropDesc (FItemClassID,FName,FSQLColumnName,FDataType,FActualType,FPropID,FName_Cht,"
               "FName_En) VALUES (" + id + "," + quotedName + "," + Quoted(column) + ",'" + dataType + "','" + dataType +
               "'," + std::to_string(numberOf(*oDesc, "PropID", lNext, 0, INT_MAX)) + "," + quotedName + "," +
               quotedName + ")";
    modFunction::ExecuteSQL(m_oConn, m_strSQL);
  }

  std::string update = "UPDATE t_ItemPropDesc SET FDataType=" + std::to_string(hasDataType ? lDataType : kTextType) +
                       ",FPrecision=" + precision + ",FScale=" + scale;
  for (const char* key : {"SrcField", "DisplayField", "SrcTable", "ComCall", "DefaultValue", "FilterField"})
    update += std::string(",F") + key + "=" + Quoted(modFunction::RecordText(*oDesc, key));
  const std::string page = Quoted(modFunction::RecordText(*oDesc, "PageName"));
  update += ",FPageName=" + page + ",FPageName_Cht=" + page + ",FPageName_En=" + page;
  // What the export writes of the size, the save rule and the view mask comes back unchanged; what a
  // document leaves out stays as stored.
  if (oDesc->Exists("ActualSize")) update += ",FActualSize=" + std::to_string(lActualSize);
  for (const char* key : {"SaveRule", "ViewMask"})
    if (oDesc->Exists(key)) update += std::string(",F") + key + "=" + wholeNumber(key);
  if (givesColumn) update += ",FSQLColumnName=" + Quoted(column);
  const std::int32_t lSearch = ImportedSearch(modFunction::RecordText(*oDesc, "Search"));
  update += lSearch == 0 ? ",FSearch=NULL" : ",FSearch=" + std::to_string(lSearch);
  m_strSQL = update + " WHERE FName=" + Quoted(name) + " AND FItemClassID=" + id;
  modFunction::ExecuteSQL(m_oConn, m_strSQL);

  m_oPropDescs->SetObject(name, oDesc);
}

void clsItemClass::ImportAccessRights(std::int32_t lItemClassID, const std::string& strName) {
  const std::string id = std::to_string(lItemClassID);
  m_strSQL = "select 1 from t_ObjectType where FObjectType = 3 And FObjectID = " + id;
  std::vector<Variant> args{Variant(m_strSQL)};
  ObjectRef rs = m_oConn->Call("Execute", args).object();
  if (!modFunction::IsEOF(rs)) return;
  for (std::string& batch : accountset::NewItemClassRights(lItemClassID, strName, [](std::string_view text) {
         return LoadLangString(text);
       })) {
    m_strSQL = std::move(batch);
    modFunction::ExecuteSQL(m_oConn, m_strSQL);
  }
}

}  // namespace quillane
