// Custom item classes through Quillane.clsItemClass, called late-bound as the facade calls it, in account
// sets in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"

namespace quillane::testing {

inline std::string tag(const std::string& name, const std::string& text) {
  return "<" + name + ">" + text + "</" + name + ">";
}

class ItemClassTest : public ExchangeDbTest {
 protected:
  struct Page {
    bool ok;
    std::string xml, stamp, maxStamp, error;
  };
  Page exportClass(const std::string& propsString, const std::string& name, std::int32_t perCount = 100,
                   const std::string& since = "") {
    std::vector<Variant> args{propsString, name, "", perCount, since, "", ""};
    bool ok = CBool(classes->Call("Export", args));
    return Page{ok, CStr(args[2]), CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }

  // The class "工程" (3005) in the account set at path: its table t_Item_3005 with a text, a number, a
  // currency looked up by its name and a flag; a group and two items, the second with its text and
  // number Null and no currency.
  static void addWorks(const std::string& path) {
    exec(path,
         "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType, FSQLTableName) VALUES "
         "(3005, 'W', '工程', 'Works', '工程', 0, 't_Item_3005')\r\n"
         "CREATE TABLE t_Item_3005(FItemID int Not NULL PRIMARY KEY, FModifyTime TIMESTAMP NULL, FNumber varchar(80), "
         "FName varchar(255), FSite varchar(20), FQty int, FCurrencyID int, FDone bit)\r\n"
         "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FSQLColumnName, FDataType, FActualType, FActualSize, "
         "FDefaultValue, FSrcTable, FSrcField, FDisplayField, FSearch) VALUES "
         "(3005, 1, '地点', 'FSite', 200, 200, 20, '未定', NULL, NULL, NULL, NULL), "
         "(3005, 2, '数量', 'FQty', 3, 3, 4, NULL, NULL, NULL, NULL, NULL), "
         "(3005, 3, '币别', 'FCurrencyID', 3, 3, 4, NULL, 't_Currency', 'FCurrencyID', 'FName', 120), "
         "(3005, 4, '完工', 'FDone', 11, 11, 1, NULL, NULL, NULL, NULL, NULL)\r\n"
         "INSERT INTO t_Currency (FCurrencyID, FNumber, FName) VALUES (1, 'RMB', '人民币')\r\n"
         "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) VALUES "
         "(10, 3005, '01', '一期', 0, 1, 0, 'G-01'), (11, 3005, '01.001', '厂房', 10, 2, 1, 'U-1'), "
         "(12, 3005, '01.002', '仓库', 10, 2, 1, 'U-2')\r\n"
         "INSERT INTO t_Item_3005 (FItemID, FNumber, FName, FSite, FQty, FCurrencyID, FDone) VALUES "
         "(11, '01.001', '厂房', '北区', 3, 1, 1), (12, '01.002', '仓库', NULL, NULL, 0, 0)");
  }
  // The descriptions of "工程" as the export writes them: only the columns that are not Null, and the
  // currency's search code by its caption.
  static std::string worksDescriptions() {
    auto desc = [](const std::string& type, const std::string& size, const std::string& inner) {
      return tag("CustomPropertyStruct", tag("ActualType", type) + tag("ActualSize", size) + tag("DataType", type) + inner);
    };
    return desc("200", "20", tag("Name", "地点") + tag("SQLColumnName", "FSite") + tag("DefaultValue", "未定")) +
           desc("3", "4", tag("Name", "数量") + tag("SQLColumnName", "FQty")) +
           desc("3", "4",
                tag("DisplayField", "FName") + tag("Name", "币别") + tag("SQLColumnName", "FCurrencyID") +
                    tag("SrcField", "FCurrencyID") + tag("SrcTable", "t_Currency") + tag("Search", "币别")) +
           desc("11", "1", tag("Name", "完工") + tag("SQLColumnName", "FDone"));
  }

  ObjectRef classes = CreateObject("Quillane.clsItemClass");
};

}  // namespace quillane::testing
