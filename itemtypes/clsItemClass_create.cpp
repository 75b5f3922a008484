// A new custom item class: its t_ItemClass row, its link column in t_ItemDetail and its own table,
// written inside the transaction of the class record that asked for it.
#include "accountset/custom_item_class.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_connection.h"
#include "itemtypes/clsItemClass.h"
#include "platform/automation/vbconv.h"

namespace quillane {

std::int32_t clsItemClass::CreateItemClass(const TrzRecord& oRecord, const std::string& strNumber) {
  const std::string number = modFunction::Quoted(strNumber);
  const std::string name = modFunction::Quoted(CStr(oRecord.Item("Name")));
  const std::string type = std::to_string(modFunction::WholeNumber(oRecord.Item("Type"), "Type", -32768, 32767));
  auto run = [this](std::string strSQL) {
    m_strSQL = std::move(strSQL);
    modFunction::ExecuteSQL(m_oConn, m_strSQL);
  };
  auto found = [this](std::string strSQL) {
    m_strSQL = std::move(strSQL);
    return modFunction::GetAnyRecordSet(m_oConn, m_strSQL);
  };

  std::string id;
  for (;;) {
    run("INSERT t_ItemClass (FNumber,FName,FName_Cht,FName_EN,FType) VALUES (" + number + "," + name + "," + name + "," +
        name + "," + type + ")");
    id = std::to_string(CLng(modFunction::FieldValue(
        found("SELECT FItemClassID FROM t_ItemClass WHERE FNumber=" + number + " AND FName=" + name), "FItemClassID")));
    // A table of the class's name may have outlived its class; the identifier is passed over then, so
    // that a new class never takes a table that is in use.
    if (modFunction::IsEOF(found("SELECT id FROM sysobjects WHERE name='t_Item_" + id + "'"))) break;
    run("DELETE FROM t_ItemClass WHERE FItemClassID=" + id);
  }
  if (modFunction::IsEOF(found("SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name='t_ItemDetail') "
                               "AND name='F" + id + "'")))
    run("ALTER TABLE t_ItemDetail ADD F" + id + " INT");
  run(accountset::CreateClassTable("t_Item_" + id));
  run("UPDATE t_ItemClass SET FSQLTableName = 't_Item_" + id + "' WHERE FItemClassID=" + id);
  return CLng(Variant(id));
}

}  // namespace quillane
