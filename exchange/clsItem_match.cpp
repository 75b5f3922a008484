// How the item engine finds the row an imported record stands for: its parent group, its UUID, or its
// number and name, with clashes settled by the conflict rules.
#include "exchange/clsItem.h"
#include "exchange/clsItem_classes.h"
#include "exchange/clsItem_sql.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_conflict.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane {
namespace {

using modFunction::Quoted;

std::int32_t firstItemID(const ObjectRef& rs) {
  return modFunction::IsEOF(rs) ? 0 : CLng(modFunction::FieldValue(rs, "FItemID"));
}

}  // namespace

std::int32_t clsItem::GetIDByUUID(const std::string& strUUID) {
  // Within the class: another class's item of the same UUID is not this record.
  return firstItemID(Query("Select FItemID From t_Item Where UUID=" + Quoted(strUUID) +
                           " AND FItemClassID=" + std::to_string(ItemClassID)));
}

std::int32_t clsItem::ImportParent(const std::string& strNumber, const std::string& strName,
                                   const std::string& strUUID) {
  const std::string cls = std::to_string(ItemClassID);
  // A link without a UUID is matched by number and name only.
  std::int32_t id = CheckByUUID && !Trim(strUUID).empty() ? GetIDByUUID(strUUID) : 0;
  // The group of that UUID takes the link's number and name; a part the link left empty is no new
  // value, and blanking it would lose the group's.
  if (id != 0 && !strNumber.empty() && !strName.empty() &&
      modFunction::IsEOF(Query(item_sql::ItemByNumberAndName(ItemClassID, strNumber, strName))))
    Run("UPDATE t_Item SET FNumber=" + Quoted(strNumber) + ", FName=" + Quoted(strName) + " WHERE FItemClassID=" + cls +
        " AND FItemID=" + std::to_string(id));
  if (ItemClassID == item_classes::kMaterial)
    // The material group is a cost-object group too.
    Run(" IF NOT EXISTS (Select 1 from t_Item Where FItemClassID = 2001 And FNumber =" + Quoted(strNumber) + ") \r\n " +
        item_sql::NewItemRow(item_classes::kCostObject, 2, 0, strNumber, strName));
  if (id == 0) id = firstItemID(Query(item_sql::ItemByNumberAndName(ItemClassID, strNumber, strName)));
  if (id != 0) return id;

  id = firstItemID(Query(item_sql::ItemByNumber(ItemClassID, strNumber)));
  if (id != 0) {
    if (!strName.empty())
      Run("UPDATE t_Item SET FName=" + Quoted(strName) + " WHERE FItemClassID=" + cls + " AND FItemID=" + std::to_string(id));
    return id;
  }
  Run(item_sql::NewItemRow(ItemClassID, 2, 0, strNumber, strName));
  id = firstItemID(Query(item_sql::ItemByNumberAndName(ItemClassID, strNumber, strName)));
  // The provider's source, so that the error line quotes the statement that found nothing.
  if (id == 0) throw AutomationError(kLibraryRefusal, sql::kProviderSource, mdlLanguage::LoadLangString("执行SQL失败!"));
  return id;
}

std::int32_t clsItem::CheckExistence(const std::string& strNumber, const std::string& strName,
                                     std::string& strNewNumber, std::int32_t lIsDetail) {
  if (strNumber.empty() && strName.empty()) return 0;
  ObjectRef rs = Query(item_sql::ItemByNumber(ItemClassID, strNumber));
  if (!modFunction::IsEOF(rs)) {
    const std::int32_t existingID = CLng(modFunction::FieldValue(rs, "FItemID"));
    if ((CBool(modFunction::FieldValue(rs, "FDetail")) ? 1 : 0) != lIsDetail) {
      m_skipReason = modFunction::kSkipDetailFlag;
      return -1;
    }
    Variant existingName = modFunction::FieldValue(rs, "FName");
    if (!existingName.isNull() && CStr(existingName) == strName) return existingID;
    const std::int32_t decision =
        modFunction::SettleClash(m_conflict, HaveInterFace, existingID, strNumber, strName, ClassCaption, strNewNumber);
    if (decision == -1 && strNewNumber.empty()) m_skipReason = modFunction::kSkipClash;
    return decision;
  }
  if (ItemClassID == item_classes::kMaterial) {
    // A material may not take the number of a cost object: the ERP mirrors materials as cost objects.
    ObjectRef costObject = Query(item_sql::ItemByNumber(item_classes::kCostObject, strNumber));
    if (!modFunction::IsEOF(costObject) && CBool(modFunction::FieldValue(costObject, "FDetail"))) {
      // The clash decides the rest of the import: every later clash is skipped.
      m_conflict.m_SameRule = true;
      m_conflict.m_Update_Add_Cancel = 0;
      modFunction::SettleClash(m_conflict, HaveInterFace, CLng(modFunction::FieldValue(costObject, "FItemID")), strNumber,
                               strName, ClassCaption, strNewNumber);
      throw AutomationError(10000, item_sql::kSource, mdlLanguage::LoadLangString("成本对象已经存在"));
    }
  }
  return 0;
}

}  // namespace quillane
