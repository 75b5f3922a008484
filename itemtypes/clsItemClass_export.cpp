// The export of one item class: its t_ItemClass row, the descriptions of its properties and one page of
// its items, each item with the values of its custom properties. Every page repeats the class and its
// descriptions, so that each document can be imported on its own.
#include "exchange/MParse.h"
#include "exchange/modFunction_sql.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_xml.h"
#include "itemtypes/clsItemClass.h"
#include "platform/automation/vbconv.h"
#include "platform/sql/read_session.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {
namespace {

using mdlLanguage::LoadLangString;

constexpr const char* kFromBeginning = "0x0000000000000000";

// The keys of a property description, in the order they are written; each comes from the column of
// t_ItemPropDesc named "F" + key, and is left out when that column is Null. Search follows them.
constexpr const char* kDescriptionKeys[] = {
    "ActualType", "ActualSize", "Behavior", "ComCall",   "DataType",      "DisplayField", "FilterField", "Name",
    "PageName",   "Precision",  "SaveRule", "Scale",     "SQLColumnName", "SrcField",     "SrcTable",    "ViewMask",
    "DefaultValue",
};

// Classes that only industrial account sets exchange, refused by their names.
constexpr const char* kCostClasses[] = {"成本项目", "费用", "成本对象", "要素费用", "劳务"};
constexpr const char* kWorkCentre = "工作中心";
constexpr std::int32_t kTextType = 200;

Variant field(const ObjectRef& rs, std::string_view name) { return modFunction::FieldValue(rs, name); }

}  // namespace

bool clsItemClass::Export(std::string& strPropsString, std::string strItemClassName, std::string& strXML,
                          std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                          std::string& strError) {
  sql::ReadSession session;  // the props check and the page read through one connection
  if (!modFunction::InitProps(strPropsString, strError)) return false;
  if (strTimeStamp.empty()) strTimeStamp = kFromBeginning;
  try {
    modFunction::OpenConnection(m_oConn);
    modFunction::HoldReads(m_oConn);
    if (!PassesClassGates(strItemClassName, strError)) return false;
    auto record = std::make_shared<TrzRecord>();
    if (!PackageItemClass(strItemClassName, lPerCount, *record, strTimeStamp, strMaxTimeStamp, strError)) {
      modFunction::CallMember(m_oConn, "CloseConn");
      return false;
    }
    auto vect = std::make_shared<TrzRecords>();
    vect->Add(Variant(record));
    modFunction::CallMember(m_oConn, "CloseConn");
    return modFunction::WriteVectorToXML(vect, strXML, modFunction::SchemaFolder() + "ItemClass.xsd", "ItemClass",
                                         strError);
  } catch (const AutomationError& e) {
    strError = modFunction::FormatErrInfo(e, "");
    modFunction::CallMemberQuietly(m_oConn, "CloseConn");
    oItem.reset();
    m_oPropDescs.reset();
    return false;
  }
}

bool clsItemClass::PassesClassGates(const std::string& strName, std::string& strError) {
  std::string message, ending = "的导入导出!";
  for (const char* costClass : kCostClasses) {
    if (strName != costClass) continue;
    if (!MParse::IsIndustry()) message = "只有工业账套才支持";
    else if (MParse::CompareServicePack("2.0.0.3") < 0) message = "只有 Q7 9.2 及以上版本的工业账套才支持";
  }
  if (strName == kWorkCentre && !MParse::IsIndustry()) {
    message = "只有工业账套才支持";
    ending = "的导入导出，请选择工业账套或性质相当于工业账套!";
  }
  if (message.empty()) return true;
  strError = LoadLangString(message) + LoadLangString(strName) + LoadLangString(ending);
  return false;
}

bool clsItemClass::PackageItemClass(const std::string& strName, std::int32_t lPerCount, TrzRecord& oRecord,
                                    std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
  m_strSQL = "SELECT * FROM t_ItemClass WHERE FName=" + modFunction::Quoted(strName);
  ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
  if (modFunction::IsEOF(rs)) {
    strError = LoadLangString("没有该自定义核算项目 ") + LoadLangString(strName) + " !";
    return false;
  }
  const std::int32_t lItemClassID = CLng(field(rs, "FItemClassID"));
  Variant tableName = field(rs, "FSQLTableName");
  const std::string strTableName = tableName.isNull() ? std::string() : CStr(tableName);
  oRecord.SetValue("Name", field(rs, "FName"));
  oRecord.SetValue("Number", field(rs, "FNumber"));
  oRecord.SetValue("ItemClassID", lItemClassID);
  oRecord.SetValue("SQLTableName", strTableName);
  oRecord.SetValue("Type", field(rs, "FType"));
  oRecord.SetObject("CustomPropertyStruct", PackagePropertyDescs(lItemClassID));

  // The engine pastes the table's name into its statements.
  CreateEngine(lItemClassID, strName,
               strTableName.empty() ? strTableName : modFunction::Identifier(strTableName, "SQLTableName"));
  oItem->Filter = m_Filter;
  oItem->bProgress = m_bProgress;
  oItem->GetMaxTimeStamp(strMaxTimeStamp);
  ObjectRef page = oItem->GetList(strTimeStamp, lPerCount);
  // A page cut short by a cancel hands back the stamp of its last item, so the next page skips nothing.
  std::shared_ptr<TrzRecords> items = oItem->PackageRecordset(page, &strTimeStamp);
  m_ErrorCount = oItem->ErrorCount();
  oItem.reset();
  oRecord.SetObject("Item", items);
  m_oPropDescs.reset();
  return true;
}

std::shared_ptr<TrzRecords> clsItemClass::PackagePropertyDescs(std::int32_t lItemClassID) {
  m_strSQL = "SELECT * FROM t_ItemPropDesc WHERE FItemClassID=" + std::to_string(lItemClassID);
  ObjectRef rs = modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
  auto descriptions = std::make_shared<TrzRecords>();
  m_oPropDescs = std::make_shared<TrzRecord>();
  for (; !modFunction::IsEOF(rs); modFunction::MoveNext(rs)) {
    auto desc = std::make_shared<TrzRecord>();
    for (const char* key : kDescriptionKeys) {
      Variant value = field(rs, std::string("F") + key);
      if (!value.isNull()) desc->SetValue(key, value);
    }
    // A text property stored without its size is a text of ten characters.
    if (desc->Exists("ActualType") && CLng(desc->Item("ActualType")) == kTextType && desc->Exists("ActualSize") &&
        CLng(desc->Item("ActualSize")) == 0)
      desc->SetValue("ActualSize", std::int16_t{10});
    if (Variant search = field(rs, "FSearch"); !search.isNull()) desc->SetValue("Search", GetNameBySearch(CLng(search)));
    descriptions->Add(Variant(desc));
    m_oPropDescs->SetObject(CStr(field(rs, "FName")), desc);
  }
  return descriptions;
}

}  // namespace quillane
