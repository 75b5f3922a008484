// The object itself: its life cycle, its members, the relay of the engine's events, and the catalogue
// of the account set's item classes.
#include "itemtypes/clsItemClass.h"

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_xml.h"
#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {
namespace {

using mdlLanguage::LoadLangString;

// The identifiers of custom item classes.
bool IsCustomClassID(std::int32_t lItemClassID) {
  return (lItemClassID >= 1000 && lItemClassID < 2000) || (lItemClassID >= 3000 && lItemClassID < 10000);
}
constexpr const char* kCustomRanges = "(FItemClassID>=1000 AND FItemClassID<2000) OR (FItemClassID>=3000 AND FItemClassID<10000)";

}  // namespace

clsItemClass::clsItemClass() { modFunction::InitSchemaFolder(); }

clsItemClass::~clsItemClass() { modFunction::CallMemberQuietly(m_oConn, "CloseConn"); }

void clsItemClass::CreateEngine(std::int32_t lItemClassID, const std::string& strCaption,
                                const std::string& strTableName) {
  oItem = std::make_shared<clsItem>();
  // The engine lives only while this object uses it, so its sink may hold this object's address.
  oItem->Advise([this](std::string_view, DispId id, Arguments args) {
    switch (id) {
      case clsItem::kCommonPacketSpecial: oItem_CommonPacketSpecial(args); break;
      case clsItem::kCommonImportSpecial: oItem_CommonImportSpecial(args); break;
      // The relays hand the same arguments on, so what the caller's sink writes reaches the engine.
      case clsItem::kProgress: RaiseEvent("Progress", kProgress, args); break;
      case clsItem::kDirtyRecord: RaiseEvent("DirtyRecord", kDirtyRecord, args); break;
    }
  });
  oItem->cn = m_oConn;
  oItem->ItemClassID = lItemClassID;
  oItem->ClassCaption = strCaption;
  oItem->TableName = strTableName;
}

// ---- The catalogue ----

Variant clsItemClass::ListItemClasses(const std::string& strPropsString, std::string strSQL, bool bAsRecords,
                                      std::string& strError) {
  if (!modFunction::InitProps(strPropsString, strError)) return Variant(ObjectRef());
  try {
    modFunction::OpenConnection(m_oConn);
    m_strSQL = std::move(strSQL);
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
    auto names = std::make_shared<TrzRecords>();
    for (; !modFunction::IsEOF(rs); modFunction::MoveNext(rs)) {
      Variant name = modFunction::FieldValue(rs, "FName");
      if (name.isNull() || CStr(name).empty()) continue;
      if (!bAsRecords) {
        names->Add(Variant(CStr(name)));
        continue;
      }
      auto entry = std::make_shared<TrzRecord>();
      entry->SetValue("ICID", CStr(modFunction::FieldValue(rs, "FItemClassID")));
      entry->SetValue("ICName", CStr(name));
      names->Add(Variant(entry));
    }
    modFunction::CallMember(m_oConn, "CloseConn");
    return Variant(names);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    return Variant(ObjectRef());
  }
}

Variant clsItemClass::GetItemClassNamesEx(std::string strPropsString, bool& bOnlyCustomer, std::string& strError) {
  return ListItemClasses(strPropsString,
                         bOnlyCustomer ? std::string("SELECT FName,FItemClassID FROM t_ItemClass WHERE (") +
                                             kCustomRanges + ") AND (FType<>3 and FType<>4)"
                                       : "SELECT FName,FItemClassID FROM t_ItemClass WHERE FItemClassID<>0 AND FType<>3 and FType<>4",
                         true, strError);
}

Variant clsItemClass::GetItemClassNames(std::string strPropsString, bool& bOnlyCustomer, std::string& strError) {
  return ListItemClasses(strPropsString,
                         bOnlyCustomer ? std::string("SELECT FName FROM t_ItemClass WHERE ") + kCustomRanges
                                       : "SELECT FName FROM t_ItemClass WHERE FItemClassID<>0",
                         false, strError);
}

bool clsItemClass::IsCustItemClass(std::string strPropsString, std::string strICName) {
  // The props are parsed for the connection string; a props string without one fails below, where
  // its error reaches the caller.
  std::string strIgnored;
  modFunction::InitProps(strPropsString, strIgnored);
  modFunction::OpenConnection(m_oConn);
  bool result = false;
  if (strICName != LoadLangString("商品") && strICName != LoadLangString("物料")) {
    m_strSQL = "SELECT FItemClassID FROM t_ItemClass WHERE FItemClassID<>0 And " + mdlLanguage::LangFieldName("FName") +
               "=" + modFunction::Quoted(strICName);
    ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
    // A name the account set does not know counts as a custom class.
    result = !rs || modFunction::IsEOF(rs) || IsCustomClassID(CLng(modFunction::FieldValue(rs, "FItemClassID")));
  }
  modFunction::CallMember(m_oConn, "CloseConn");
  return result;
}

const DispatchTable& clsItemClass::dispatchTable() const {
  static const DispatchTable table =
      DispatchBuilder<clsItemClass>()
          .method("Export", 1, &clsItemClass::Export, {Variant(std::int32_t{100}), Variant(""), Variant(""), Variant("")})
          .method("Import", 2, &clsItemClass::Import, {Variant(std::int16_t{1})})
          .let("Filter", 3, &clsItemClass::setFilter)
          .let("CheckByUUID", 4, &clsItemClass::setCheckByUUID)
          .let("AddNewOnly", 5, &clsItemClass::setAddNewOnly)
          .let("bProgress", 6, &clsItemClass::setbProgress)
          .method("GetItemClassNamesEx", 7, &clsItemClass::GetItemClassNamesEx, {Variant(false), Variant("")})
          .method("GetItemClassNames", 8, &clsItemClass::GetItemClassNames, {Variant(false), Variant("")})
          .method("IsCustItemClass", 9, &clsItemClass::IsCustItemClass)
          .method("GetNameBySearch", 10, &clsItemClass::GetNameBySearch)
          .method("GetSearchByName", 11, &clsItemClass::GetSearchByName)
          .get("ErrorCount", 12, &clsItemClass::ErrorCount)
          .let("HaveInterFace", 13, &clsItemClass::setHaveInterFace)
          .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Quillane.clsItemClass", clsItemClass)

}  // namespace quillane
