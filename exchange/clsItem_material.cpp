// The ERP keeps a cost object (item class 2001) beside each material group and each material it makes
// itself; importing a material keeps that mirror in step.
#include "exchange/clsItem.h"
#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_text.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

using modFunction::Quoted;
using mdlLanguage::LoadLangString;

// The Name of a link of the record; empty when the record has no such link.
std::string linkName(const TrzRecord& record, std::string_view key) {
  auto link = record.GetRecord(key);
  if (!link) return {};
  Variant name = link->GetValue("Name", Variant(""));
  return name.isNull() ? std::string() : CStr(name);
}

}  // namespace

void clsItem::MirrorAsCostObject(const TrzRecord& record, const std::string& strNumber, std::int32_t lIsDetail) {
  std::string rest;
  const std::string prefix = modFunction::SplitAtLastDot(strNumber, rest);
  const bool topLevel = Trim(prefix).empty();
  const std::string number = Quoted(strNumber);
  if (lIsDetail == 0) {
    Run(" IF NOT EXISTS (SELECT 1 FROM t_Item WHERE FNumber =" + number + " AND FItemClassID = 2001 )\r\n" +
        " BEGIN \r\n" + " INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) \r\n" +
        " SELECT 2001,FLevel,FDetail,FParentID,FNumber,FName FROM t_Item WHERE FNumber =" + number +
        " AND FItemClassID = 4 \r\n" + " END \r\n" +
        (topLevel ? " UPDATE t_Item SET FParentID = 0 WHERE FNumber =" + number + " AND FItemClassID = 2001"
                  : " UPDATE t_Item SET FParentID = (SELECT FItemID From t_Item WHERE FNumber = " + Quoted(prefix) +
                        " AND FItemClassID = 2001) WHERE FItemClassID = 2001 AND FNumber =" + number));
  }

  // The ERP repairs its cost objects itself: none of what follows may fail the material.
  const std::string erpClass = linkName(record, "ErpCls");
  if ((erpClass == LoadLangString("自制") || erpClass == LoadLangString("配置类")) &&
      linkName(record, "Track") != LoadLangString("分批认定法"))
    RunIgnoringErrors("Execute cbAddCostObj " + std::to_string(m_lItemID));
  if (!topLevel)
    RunIgnoringErrors("UPDATE t_Item SET FDetail = 0 WHERE FItemID=(SELECT FItemID From t_Item WHERE FNumber = " +
                      Quoted(prefix) + " AND FItemClassID = 2001 ) AND FItemID<>0 AND FItemClassID = 2001");
  else
    RunIgnoringErrors(std::string("UPDATE t_Item SET FDetail = ") + (lIsDetail != 0 ? "1" : "0") +
                      " WHERE FNumber = " + number + " AND FItemClassID = 2001 ");
  RunIgnoringErrors("UPDATE t_Item SET FFullNumber=FNumber WHERE " + modFunction::DescendantsOf(strNumber) +
                    "  AND FItemClassID = 2001");
}

}  // namespace quillane
