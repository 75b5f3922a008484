// Well-formed documents of custom item classes that would change or lose committed data: each one is
// refused with its reason, and every committed row, column and table stays as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "itemtypes/item_class_documents.h"
#include "itemtypes/item_class_fixture.h"

namespace quillane::testing {
namespace {

// The text with its first from replaced by to.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

class HostileClassDocuments : public ItemClassTest {
 protected:
  // A new account set with the class "工程" (3001) and its two items, and a material.
  void prepare(const std::string& file) {
    target = newAccountSet(file);
    exec(target,
         "INSERT INTO t_Currency (FCurrencyID, FNumber, FName) VALUES (1, 'RMB', '人民币')\r\n"
         "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) VALUES "
         "(100, 4, 'M01', '螺丝', 0, 1, 1, 'U-M01')\r\n"
         "INSERT INTO t_ICItem (FItemID, FNumber, FName, FModel) VALUES (100, 'M01', '螺丝', 'M5')");
    std::string error;
    ASSERT_TRUE(importDoc(classDoc({worksKeys() + item("01", "厂房", value("地点", "北区") + value("数量", "3") +
                                                                          value("币别", "人民币")) +
                                    item("02", "仓库")}),
                          error))
        << error;
  }
  bool importDoc(const std::string& xml, std::string& error, bool checkByUUID = false) {
    ObjectRef fresh = CreateObject("Quillane.clsItemClass");
    fresh->Let("CheckByUUID", checkByUUID);
    std::vector<Variant> args{props(target), xml, ""};
    const bool ok = CBool(fresh->Call("Import", args));
    error = CStr(args[2]);
    return ok;
  }
  // Every row, column and table a class document could reach, stamps included: a row written again
  // with its own values would show in its stamp.
  struct Snapshot {
    std::vector<std::pair<const char*, std::string>> tables;
  };
  Snapshot committed() {
    Snapshot snapshot;
    for (const char* sql : {
             "SELECT * FROM t_ItemClass ORDER BY FItemClassID",
             "SELECT * FROM t_ItemPropDesc ORDER BY FItemClassID, FPropID",
             "SELECT * FROM t_Item ORDER BY FItemID",
             "SELECT * FROM t_ICItem ORDER BY FItemID",
             "SELECT * FROM t_Item_3001 ORDER BY FItemID",
             "SELECT * FROM t_ItemDetail",
             "SELECT FObjectType, FObjectID, FIndex, FAccessMask FROM t_ObjectAccessType ORDER BY 1, 2, 3",
             "SELECT FGroupID, FObjectType, FObjectID, FIndex FROM t_ObjectAccess ORDER BY 1, 2, 3, 4",
             "SELECT o.name, c.name, c.typename FROM sysobjects o JOIN syscolumns c ON c.id = o.id "
             "WHERE o.name IN ('t_ICItem', 't_Item_3001', 't_ItemDetail', 't_Item') ORDER BY o.name, c.colid",
             "SELECT name FROM sysobjects WHERE name LIKE 't_Item[_]%' ORDER BY name",
         })
      snapshot.tables.emplace_back(sql, rows(target, sql));
    return snapshot;
  }
  // Names the query of each table that differs, with the start of what it reads now.
  static void expectUnchanged(const Snapshot& before, const Snapshot& after) {
    for (std::size_t i = 0; i < before.tables.size(); ++i)
      EXPECT_TRUE(before.tables[i].second == after.tables[i].second)
          << before.tables[i].first << "\n  now: " << after.tables[i].second.substr(0, 400);
  }
  static std::string errorLine(const std::string& number, const std::string& name, const std::string& description) {
    return "导入自定义核算项目记录(Number:" + number + ",Name:" + name + ",UUID:)失败!\r\n错误号:-2147221304\r\n"
           "错误源:Quillane.clsItemClass\r\n错误描述:" + description + "\r\n";
  }

  std::string target;
};

TEST_F(HostileClassDocuments, AreRefusedAndChangeNothingCommitted) {
  struct Case {
    const char* name;
    std::string xml;
    std::string refusal;  // the whole error text, or a part of it that names the reason
    bool checkByUUID = false;
  };
  const std::string ownColumn = "自定义属性不能存放在核算项目自身的列中:";
  const std::string systemClass = "系统的基础资料类别不能作为自定义核算项目导入:物料";
  const std::string lookup = desc("币别", "FCurrencyID", "3", {{"DisplayField", "FName"}, {"SrcField", "FCurrencyID"}, {"SrcTable", "t_Currency"}});
  auto withLookup = [](const std::string& table, const std::string& key, const std::string& shown) {
    return desc("币别", "FCurrencyID", "3", {{"DisplayField", shown}, {"SrcField", key}, {"SrcTable", table}});
  };
  const Case cases[] = {
      {"a new class keeps a property in its items' key",
       classDoc({classKeys("N", "新类") + desc("键", "FItemID", "3") + item("01", "甲", value("键", "424242"))}),
       errorLine("N", "新类", ownColumn + "FItemID")},
      {"a property in the items' number", classDoc({worksKeys() + desc("号", "FNumber", "200") + item("01", "厂房", value("号", "X"))}),
       errorLine("W", "工程", ownColumn + "FNumber")},
      {"a property in the items' name, in other letters", classDoc({worksKeys() + desc("名", "fname", "200")}),
       errorLine("W", "工程", ownColumn + "fname")},
      {"a property in the row version", classDoc({worksKeys() + desc("版", "FModifyTime", "200")}),
       errorLine("W", "工程", ownColumn + "FModifyTime")},
      {"materials by their number and name, re-keying a material",
       classDoc({classKeys("004", "物料") + desc("键", "FItemID", "3") + item("M01", "螺丝", value("键", "424242"))}),
       errorLine("004", "物料", systemClass)},
      {"a class of its own numbered as materials",
       classDoc({classKeys("004", "我的类") + desc("重量", "FWeight", "5") + item("X1", "甲")}),
       errorLine("004", "我的类", systemClass)},
      {"materials by their UUID",
       classDoc({tag("Name", "我的类") + tag("Number", "M") + tag("Type", "0") +
                 tag("UUID", "00000004-0000-4000-8000-000000000000") + desc("重量", "FWeight", "5")}),
       "错误描述:" + systemClass + "\r\n", true},
      {"a property the class keeps in another column",
       classDoc({replaced(worksKeys(), "FSite", "FPlace") + item("01", "厂房", value("地点", "东区"))}),
       errorLine("W", "工程", "自定义属性地点的列是FSite，不能改为FPlace")},
      {"a lookup table that is a statement", classDoc({classKeys("W", "工程") + withLookup("t_Currency WHERE 1=1; DROP TABLE t_Item", "FCurrencyID", "FName")}),
       errorLine("W", "工程", "SrcTable的值必须是表名或列名:t_Currency WHERE 1=1; DROP TABLE t_Item")},
      {"a lookup key that is no column", classDoc({classKeys("W", "工程") + withLookup("t_Currency", "FCurrencyID)", "FName")}),
       errorLine("W", "工程", "SrcField的值必须是表名或列名:FCurrencyID)")},
      {"a lookup display that reads another table", classDoc({classKeys("W", "工程") + withLookup("t_Currency", "FCurrencyID", "FName FROM t_User --")}),
       errorLine("W", "工程", "DisplayField的值必须是表名或列名:FName FROM t_User --")},
      {"a lookup without its key", classDoc({classKeys("W", "工程") + withLookup("t_Currency", "", "FName")}),
       errorLine("W", "工程", "SrcField的值必须是表名或列名:")},
      {"a class with a number and no name", classDoc({classKeys("N", "") + item("01", "甲")}),
       errorLine("N", "", "自定义核算项目没有名称!")},
      {"a class of blanks for a name", classDoc({classKeys("N", "  ")}), errorLine("N", "  ", "自定义核算项目没有名称!")},
      {"an item with a value of a property the class does not describe",
       classDoc({worksKeys() + item("03", "车间", value("面积", "12"))}),
       "错误描述:自定义属性没有描述:面积\r\n"},
      {"a new class without its type", classDoc({tag("Name", "新类") + tag("Number", "N") + desc("重量", "FWeight", "5")}),
       "Expected is one of ( ItemClassID, SQLTableName, Type )"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prepare("case" + std::to_string(++n) + ".db");
    const Snapshot before = committed();
    std::string error;
    EXPECT_FALSE(importDoc(c.xml, error, c.checkByUUID));
    EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
    expectUnchanged(before, committed());
  }
  // The same documents without what makes them hostile go in.
  prepare("harmless.db");
  std::string error;
  EXPECT_TRUE(importDoc(classDoc({classKeys("N", "新类") + desc("重量", "FWeight", "5") + item("01", "甲", value("重量", "2.5"))}), error)) << error;
  EXPECT_TRUE(importDoc(classDoc({replaced(worksKeys(), "FSite", "fsite") + lookup}), error)) << error;
  EXPECT_EQ(rows(target, "SELECT FSQLColumnName FROM t_ItemPropDesc WHERE FItemClassID = 3001 AND FName = '地点'"), "FSite");
}

}  // namespace
}  // namespace quillane::testing
