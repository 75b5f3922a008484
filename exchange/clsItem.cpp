#include "exchange/clsItem.h"

#include "exchange/MParse.h"
#include "exchange/clsItem_classes.h"
#include "exchange/clsItem_sql.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_xml.h"

namespace quillane {

using mdlLanguage::LoadLangString;

clsItem::clsItem() { modFunction::InitSchemaFolder(); }

void clsItem::InitItemClass() {
  const item_classes::ItemClass* info = item_classes::Find(ItemClassID);
  if (!info)
    throw AutomationError(kLibraryRefusal, item_sql::kSource,
                          LoadLangString("不支持该核算项目的导入导出(核算项目编号") + std::to_string(ItemClassID) + ")!");
  ClassCaption = info->caption;
  TypeName = info->typeName;
  Schema = TypeName + ".xsd";
  TableName = info->table;
}

bool clsItem::PassesVersionGate(std::string& strError) const {
  const item_classes::ItemClass* info = item_classes::Find(ItemClassID);
  if (!info || !info->costAccounting || MParse::CompareServicePack("2.0.0.2") >= 0) return true;
  strError = LoadLangString("只有 Q7 9.2 及以上版本的工业账套才支持") + LoadLangString(ClassCaption) +
             LoadLangString("的导入导出!");
  return false;
}

void clsItem::RaiseProgress(std::int32_t lCur, std::int32_t lTotal, bool& bCancel) {
  RaiseEventWith("Progress", kProgress, std::as_const(lCur), std::as_const(lTotal), bCancel);
}

bool clsItem::RunCall(std::string& strError, const std::function<bool()>& work) {
  bool result = false;
  try {
    modFunction::OpenConnection(cn);
    result = work();
  } catch (const AutomationError& e) {
    modFunction::ReportCallError(strError, e, m_strSQL, m_counts);
    modFunction::CallMemberQuietly(cn, "CloseConn");
    result = false;
  }
  m_vector.reset();
  return result;
}

ObjectRef clsItem::Query(std::string strSQL) {
  m_strSQL = std::move(strSQL);
  return modFunction::GetAnyRecordSet(cn, m_strSQL);
}

void clsItem::Run(std::string strSQL) {
  m_strSQL = std::move(strSQL);
  modFunction::ExecuteSQL(cn, m_strSQL);
}

void clsItem::RunIgnoringErrors(std::string strSQL) {
  try {
    Run(std::move(strSQL));
  } catch (const AutomationError&) {
    // Best-effort statements: their callers say why a failure may not fail the record.
  }
}

}  // namespace quillane
