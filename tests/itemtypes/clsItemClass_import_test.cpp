// The import of documents of custom item classes: new classes with their tables, descriptions, rights
// and items; classes the account set holds; clashes; and documents that must change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "exchange/custom_class_import.h"
#include "exchange/modFunction_conflict.h"
#include "itemtypes/item_class_documents.h"
#include "itemtypes/item_class_fixture.h"
#include "itemtypes/watched_connection.h"
#include "platform/erp/form.h"
#include "platform/xml/utf16.h"
#include "platform/registry/registry.h"
#include "support/scripted_dialog_host.h"

namespace quillane::testing {
namespace {

class ItemClassImport : public ItemClassTest {
 protected:
  void SetUp() override {
    ItemClassTest::SetUp();
    exec(target, "INSERT INTO t_Currency (FCurrencyID, FNumber, FName) VALUES (1, 'RMB', '人民币'), (2, 'USD', '美元')");
    classes->Advise([this](std::string_view event, DispId, Arguments args) {
      if (event != "DirtyRecord") return;
      dirty.push_back(CStr(args[0]) + ":" + CStr(args[1]) + ":" + CStr(args[2]));
    });
  }
  struct Imported {
    bool ok;
    std::string error;
  };
  Imported importDoc(const std::string& xml, const ObjectRef& into = nullptr) {
    std::vector<Variant> args{props(target), xml, ""};
    bool ok = CBool((into ? into : classes)->Call("Import", args));
    return Imported{ok, CStr(args[2])};
  }
  std::string worksDoc(const std::string& items = "") { return classDoc({worksKeys() + items}); }
  std::string classRow(const std::string& condition = "FName = '工程'") {
    return rows(target, "SELECT FItemClassID, FNumber, FName, FName_Cht, FName_EN, FType, FSQLTableName FROM t_ItemClass "
                        "WHERE " + condition);
  }
  // What a document that fails may not change.
  std::string everything() {
    return rows(target, "SELECT (SELECT COUNT(*) FROM t_ItemClass), (SELECT COUNT(*) FROM t_ItemPropDesc), "
                        "(SELECT COUNT(*) FROM t_ObjectType), (SELECT COUNT(*) FROM t_ObjectAccessType), "
                        "(SELECT COUNT(*) FROM t_ObjectAccess), (SELECT COUNT(*) FROM t_Item), "
                        "(SELECT COUNT(*) FROM sysobjects WHERE name LIKE 't_Item[_]%'), "
                        "(SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_ItemDetail'))");
  }
  static std::string errorLine(const std::string& number, const std::string& name, const std::string& description) {
    return "导入自定义核算项目记录(Number:" + number + ",Name:" + name + ",UUID:)失败!\r\n错误号:-2147221304\r\n"
           "错误源:Quillane.clsItemClass\r\n错误描述:" + description + "\r\n";
  }

  std::string target = newAccountSet("target.db");
  std::vector<std::string> dirty;
};

TEST_F(ItemClassImport, ANewClassGetsItsTableDescriptionsRightsAndItems) {
  Imported result = importDoc(worksDoc(item("01", "厂房", value("地点", "北区") + value("数量", "3") +
                                                             value("币别", "美元") + value("完工", "True")) +
                                       item("02", "仓库")));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.error, "");
  // The three names of the class are the document's name; the table takes the new identifier.
  EXPECT_EQ(classRow(), "3001,W,工程,工程,工程,0,t_Item_3001");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_ItemDetail') AND name = 'F3001'"), "1");
  EXPECT_EQ(rows(target, "SELECT name, lower(typename) FROM syscolumns WHERE id = object_id('t_Item_3001') ORDER BY colid"),
            "FItemID,int;FModifyTime,timestamp;FNumber,varchar(80);FName,varchar(255);FSite,varchar(20);FQty,int;"
            "FCurrencyID,int;FDone,bit");
  // The first descriptions of an account set are numbered from 1; absent values take their defaults.
  EXPECT_EQ(rows(target, "SELECT FPropID, FName, FName_Cht, FName_En, FSQLColumnName, FDataType, FActualType, FActualSize, "
                         "FPrecision, FScale, FSaveRule, FViewMask, FSrcTable, FDefaultValue, FPageName, FPageName_En, "
                         "FSearch FROM t_ItemPropDesc WHERE FItemClassID = 3001 ORDER BY FPropID"),
            "1,地点,地点,地点,FSite,200,200,20,2,0,NULL,NULL,,未定,基本,基本,NULL;"
            "2,数量,数量,数量,FQty,3,3,NULL,0,0,1,255,,,,,NULL;"
            "3,币别,币别,币别,FCurrencyID,3,3,NULL,2,0,NULL,NULL,t_Currency,,,,120;"
            "4,完工,完工,完工,FDone,11,11,NULL,2,0,NULL,NULL,,,,,NULL");
  // Each access type once: the class's own eight, and the template's that it does not define again.
  EXPECT_EQ(rows(target, "SELECT FObjectType, FIndex, COUNT(*) FROM t_ObjectAccessType WHERE FObjectID = 3001 "
                         "GROUP BY FObjectType, FIndex ORDER BY FObjectType, FIndex"),
            "3,1,1;3,2,1;3,3,1;3,4,1;3,7,1;3,8,1;3,9,1;3,10,1;3,11,1;2002,2,1;2002,5,1;2002,6,1");
  EXPECT_EQ(rows(target, "SELECT FName, FDescription FROM t_ObjectAccessType WHERE FObjectID = 3001 AND FIndex IN (2, 7) "
                         "ORDER BY FObjectType"),
            "新增,用户可新增核算项目;引入,用户可引入工程的信息;查看,可查看工程附件的内容");
  EXPECT_EQ(rows(target, "SELECT FGroupID, FObjectType, FIndex FROM t_ObjectAccess WHERE FObjectID = 3001 AND FIndex IN (2, 7) "
                         "ORDER BY FObjectType, FIndex, FGroupID"),
            "1,3,2;1,3,7;2,3,7;1,2002,2;2,2002,2");
  EXPECT_EQ(rows(target, "SELECT i.FNumber, i.FName, d.FNumber, d.FSite, d.FQty, d.FCurrencyID, d.FDone FROM t_Item i "
                         "JOIN t_Item_3001 d ON d.FItemID = i.FItemID WHERE i.FItemClassID = 3001 ORDER BY i.FNumber"),
            "01,厂房,01,北区,3,2,True;02,仓库,02,NULL,NULL,NULL,NULL");
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 0);
  EXPECT_TRUE(dirty.empty());
}

TEST_F(ItemClassImport, AColumnTakesTheTypeOfItsDataType) {
  const std::pair<const char*, const char*> cases[] = {
      {"2", "smallint"}, {"3", "int"},      {"4", "real"},     {"5", "float"},    {"6", "money"},
      {"7", "datetime"}, {"11", "bit"},     {"14", "decimal"}, {"135", "datetime"}, {"200", "varchar(10)"},
      {"99", "varchar(10)"}, {"", "varchar(10)"},
  };
  std::string descriptions, expected;
  int n = 0;
  for (const auto& [type, sqlType] : cases) {
    const std::string column = "F" + std::to_string(++n);
    descriptions += desc("P" + std::to_string(n), column, type);
    expected += ";" + column + "," + sqlType;
  }
  descriptions += desc("P50", "F50", "200", {{"ActualSize", "50"}});
  expected += ";F50,varchar(50)";
  Imported result = importDoc(classDoc({classKeys("W", "工程") + descriptions}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, "SELECT name, lower(typename) FROM syscolumns WHERE id = object_id('t_Item_3001') AND colid > 4 "
                         "ORDER BY colid"),
            expected.substr(1));
  // Without a DataType the description is a text.
  EXPECT_EQ(rows(target, "SELECT FDataType, FActualType FROM t_ItemPropDesc WHERE FName = 'P12'"), "200,200");
}

TEST_F(ItemClassImport, ValuesFromTheDocumentNeverBecomeStatementText) {
  struct Case {
    std::string descriptions;
    std::string description;  // of the error
  };
  const Case cases[] = {
      {desc("坏", "x; DELETE FROM t_Item", "3"), "SQLColumnName的值必须是表名或列名:x; DELETE FROM t_Item"},
      {desc("坏", "FBad", "200", {{"ActualSize", "99999"}}), "ActualSize的值必须是整数(1..8000):99999"},
      {desc("坏", "FBad", "200", {{"ActualSize", "0"}}), "ActualSize的值必须是整数(1..8000):0"},
      {desc("坏", "FBad", "3", {{"Precision", "40000"}}), "Precision的值必须是整数(-32768..32767):40000"},
      {desc("坏", "FBad", "3", {{"PropID", "-5"}}), "PropID的值必须是整数(0..2147483647):-5"},
  };
  const std::string before = everything();
  for (const Case& c : cases) {
    // The bad description comes after a good one, whose column and row are rolled back with it.
    Imported result = importDoc(classDoc({worksKeys() + c.descriptions + item("01", "厂房")}));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, errorLine("W", "工程", c.description));
    EXPECT_EQ(everything(), before) << c.description;
  }
  Imported result = importDoc(classDoc({classKeys("W", "工程", "70000")}));
  EXPECT_EQ(result.error, errorLine("W", "工程", "Type的值必须是整数(-32768..32767):70000"));
  // What the schema refuses is refused before anything is read.
  result = importDoc(classDoc({classKeys("W", "工程") + desc("坏", "FBad", "abc")}));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("DataType"), std::string::npos) << result.error;
  EXPECT_EQ(everything(), before);
  // Nothing was left behind: the next class takes the identifier the failed ones would have had.
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  EXPECT_EQ(classRow(), "3001,W,工程,工程,工程,0,t_Item_3001");
}

TEST_F(ItemClassImport, MoneyAndDecimalValuesKeepTheirDigitsThereAndBack) {
  const std::string doc = classDoc({classKeys("W", "工程") + desc("金额", "FAmount", "6") + desc("精确", "FExact", "14") +
                                    item("01", "厂房", value("金额", "123456789012.3456") + value("精确", "12345678901234567"))});
  Imported result = importDoc(doc);
  ASSERT_TRUE(result.ok) << result.error;
  const char* stored = "SELECT FAmount, FExact FROM t_Item_3001";
  EXPECT_EQ(rows(target, stored), "123456789012.3456,12345678901234567");
  Page page = exportClass(props(target), "工程");
  ASSERT_TRUE(page.ok) << page.error;
  const std::string second = newAccountSet("second.db");
  std::vector<Variant> args{props(second), page.xml, ""};
  ASSERT_TRUE(CBool(classes->Call("Import", args))) << CStr(args[2]);
  EXPECT_EQ(rows(second, stored), "123456789012.3456,12345678901234567");
  // A decimal column holds whole numbers (decimal(18, 0)): a 19th digit is SQL Server's overflow.
  result = importDoc(classDoc({classKeys("W", "工程") + desc("金额", "FAmount", "6") + desc("精确", "FExact", "14") +
                               item("01", "厂房", value("精确", "1234567890123456789"))}));
  EXPECT_NE(result.error.find("Arithmetic overflow error converting int to data type numeric."), std::string::npos)
      << result.error;
}

TEST_F(ItemClassImport, ANewClassPassesOverATableThatIsInUse) {
  exec(target, "CREATE TABLE t_Item_3001 (FItemID int Not NULL PRIMARY KEY, FOther varchar(10))");
  Imported result = importDoc(worksDoc(item("01", "厂房", value("地点", "北区"))));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(classRow(), "3002,W,工程,工程,工程,0,t_Item_3002");
  EXPECT_EQ(rows(target, "SELECT FSite FROM t_Item_3002"), "北区");
  EXPECT_EQ(rows(target, "SELECT name FROM syscolumns WHERE id = object_id('t_Item_3001') ORDER BY colid"), "FItemID;FOther");
}

TEST_F(ItemClassImport, AClassTheAccountSetHoldsIsUpdated) {
  ASSERT_TRUE(importDoc(worksDoc(item("01", "厂房", value("地点", "北区") + value("数量", "3")))).ok);
  // The site is longer in the document: its column keeps its size, its description follows.
  const std::string changed = classKeys("W", "工程") +
                              desc("地点", "FSite", "200", {{"ActualSize", "30"}, {"DefaultValue", "无"}}) +
                              desc("面积", "FArea", "5") +
                              item("01", "厂房", value("地点", "南区") + value("面积", "12.5")) + item("02", "仓库");
  for (const char* language : {"chs", "en"}) {
    useLanguage(language);
    Imported result = importDoc(classDoc({changed}));
    ASSERT_TRUE(result.ok) << language << " " << result.error;
  }
  EXPECT_EQ(classRow(), "3001,W,工程,工程,工程,0,t_Item_3001");
  // Matched by the stored name in every language: no description twice.
  EXPECT_EQ(rows(target, "SELECT FName, FDataType, FActualSize, FDefaultValue FROM t_ItemPropDesc WHERE FItemClassID = 3001 "
                         "ORDER BY FPropID"),
            "地点,200,30,无;数量,3,NULL,;币别,3,NULL,;完工,11,NULL,;面积,5,NULL,");
  EXPECT_EQ(rows(target, "SELECT lower(typename) FROM syscolumns WHERE id = object_id('t_Item_3001') AND name IN ('FSite', 'FArea') "
                         "ORDER BY colid"),
            "varchar(20);float");
  EXPECT_EQ(rows(target, "SELECT d.FNumber, d.FSite, d.FQty, d.FArea FROM t_Item_3001 d ORDER BY d.FNumber"),
            "01,南区,3,12.5;02,NULL,NULL,NULL");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_ObjectAccessType WHERE FObjectID = 3001"), "12");
}

TEST_F(ItemClassImport, WhatADescriptionLeavesOutStaysAsStored) {
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  const std::string sql = "SELECT FName, FActualSize, FSaveRule, FViewMask FROM t_ItemPropDesc WHERE FName IN ('地点', '数量') "
                          "ORDER BY FPropID";
  ASSERT_EQ(rows(target, sql), "地点,20,NULL,NULL;数量,NULL,1,255");
  Imported result = importDoc(classDoc({classKeys("W", "工程") + desc("地点", "FSite", "200") + desc("数量", "FQty", "3")}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, sql), "地点,20,NULL,NULL;数量,NULL,1,255");
  result = importDoc(classDoc({classKeys("W", "工程") + desc("数量", "FQty", "3", {{"ActualSize", "8"}, {"SaveRule", "0"}})}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, sql), "地点,20,NULL,NULL;数量,8,0,255");
}

// A description without a column would leave its items' values nowhere to go: it is refused by its
// name. One that another program stored without a column holds no values, and may be given one.
TEST_F(ItemClassImport, ADescriptionWithoutAColumnIsRefusedAndOneStoredWithoutOneMayBeGivenOne) {
  const std::string remark = tag("CustomPropertyStruct", tag("DataType", "200") + tag("Name", "备注"));
  ASSERT_TRUE(importDoc(classDoc({classKeys("W", "工程")})).ok);
  const std::string before = rows(target, "SELECT * FROM t_ItemPropDesc");
  Imported result = importDoc(classDoc({classKeys("W", "工程") + remark + item("02", "仓库", value("备注", "旧"))}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, errorLine("W", "工程", "自定义属性没有存放值的列(SQLColumnName):备注"));
  EXPECT_EQ(rows(target, "SELECT * FROM t_ItemPropDesc"), before);

  exec(target, "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FDataType) VALUES (3001, 9, '备注', 200)");
  result = importDoc(classDoc({classKeys("W", "工程") + desc("备注", "FRemark", "200") + item("02", "仓库", value("备注", "新"))}));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, "SELECT p.FSQLColumnName, d.FRemark FROM t_ItemPropDesc p, t_Item_3001 d WHERE p.FName = '备注' AND d.FNumber = '02'"),
            "FRemark,新");
  result = importDoc(classDoc({classKeys("W", "工程") + desc("备注", "FOther", "200")}));
  EXPECT_EQ(result.error, errorLine("W", "工程", "自定义属性备注的列是FRemark，不能改为FOther"));
}

TEST_F(ItemClassImport, AddNewOnlyLeavesAClassTheAccountSetHoldsAlone) {
  ASSERT_TRUE(importDoc(worksDoc(item("01", "厂房", value("地点", "北区")))).ok);
  const std::string before = everything() + rows(target, "SELECT * FROM t_ItemPropDesc") + rows(target, "SELECT FSite FROM t_Item_3001");
  classes->Let("AddNewOnly", true);
  Imported result = importDoc(classDoc({classKeys("W", "工程") + desc("面积", "FArea", "5") +
                                        item("01", "厂房", value("地点", "南区")) + item("02", "仓库")}));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(everything() + rows(target, "SELECT * FROM t_ItemPropDesc") + rows(target, "SELECT FSite FROM t_Item_3001"), before);
}

TEST_F(ItemClassImport, AClassTheUserMayNotImportIntoIsRefused) {
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  exec(target, "INSERT INTO t_User (FUserID, FName) VALUES (20, 'clerk')\r\n"
               "INSERT INTO t_AccessControl (FObjectType, FObjectID, FUserID, FAccessType, FAccessMask) VALUES (3, 3001, 20, 1, 8388608)");
  const std::string before = everything();
  std::vector<Variant> args{props(target, "UserID=20;AcctType=GY"), worksDoc(item("01", "厂房")), ""};
  EXPECT_FALSE(CBool(classes->Call("Import", args)));
  EXPECT_EQ(CStr(args[2]), errorLine("W", "工程", "没有权限!"));
  EXPECT_EQ(everything(), before);
  // A new class needs no right of its own.
  args = {props(target, "UserID=20;AcctType=GY"), classDoc({classKeys("V", "其他")}), ""};
  EXPECT_TRUE(CBool(classes->Call("Import", args))) << CStr(args[2]);
}

TEST_F(ItemClassImport, ANumberOfAnotherClassGoesToTheConflictRules) {
  struct Case {
    const char* name;
    bool haveInterface;
    const char* rule;
    ScriptedDialogHost::Script user;
    const char* classes;  // the classes numbered W... afterwards
    bool ok;
  };
  auto answer = [](const char* option, const char* newNumber) -> ScriptedDialogHost::Script {
    return [=](erp::Form& form) {
      form.Click(option);
      form.control("txtNewNumber").SetText(newNumber);
      form.Click("cmdOK");
    };
  };
  const Case cases[] = {
      {"without a dialog the class is updated", false, nullptr, nullptr, "3001,W,工程,FArea", true},
      {"skip", true, modFunction::kRuleSkip, nullptr, "3001,W,工程,NULL", true},
      {"overwrite", true, modFunction::kRuleOverwrite, nullptr, "3001,W,工程,FArea", true},
      {"the user adds it under a new number", true, modFunction::kRuleAsk, answer("OptNew", "W2"),
       "3001,W,工程,NULL;3002,W2,工程二,FArea", true},
      {"the user's number is taken", true, modFunction::kRuleAsk, answer("OptNew", "w"), "3001,W,工程,NULL", false},
      {"the user cancels", true, modFunction::kRuleAsk, [](erp::Form& form) { form.Click("cmdCancel"); },
       "3001,W,工程,NULL", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = newAccountSet(std::string(c.name) + ".db");
    std::swap(path, target);
    ASSERT_TRUE(importDoc(worksDoc()).ok);
    registry::DeleteKey(modFunction::kConflictKey);
    if (c.rule)
      registry::WriteValue(std::string(modFunction::kConflictKey) + "\\工程二", modFunction::kConflictRuleValue, c.rule);
    ScopedDialogHost dialogs;
    if (c.user) dialogs.host->scripts.push_back(c.user);
    ObjectRef fresh = CreateObject("Quillane.clsItemClass");
    std::vector<std::string> clashes;
    fresh->Advise([&](std::string_view event, DispId, Arguments args) {
      if (event == "DirtyRecord") clashes.push_back(CStr(args[0]) + ":" + CStr(args[1]) + ":" + CStr(args[2]));
    });
    fresh->Let("HaveInterFace", c.haveInterface);
    Imported result = importDoc(classDoc({classKeys("W", "工程二") + desc("面积", "FArea", "5")}), fresh);
    EXPECT_EQ(result.ok, c.ok) << result.error;
    if (!c.ok) {
      EXPECT_EQ(result.error, errorLine("W", "工程二", "新的代码已经存在:w"));
    }
    EXPECT_EQ(rows(target, "SELECT c.FItemClassID, c.FNumber, c.FName, d.FSQLColumnName FROM t_ItemClass c LEFT JOIN "
                           "t_ItemPropDesc d ON d.FItemClassID = c.FItemClassID AND d.FName = '面积' WHERE c.FNumber LIKE 'W%' "
                           "ORDER BY c.FItemClassID"),
              c.classes);
    // Every clash is counted, under the class's own name, and reported with 0 as the item class.
    EXPECT_EQ(clashes, std::vector<std::string>{"0:1:基础资料类别[工程二]存在以下冲突:\r\nW|工程二\r\n"});
    std::swap(path, target);
  }
}

TEST_F(ItemClassImport, ANameOfAClassOfAnotherNumberIsReported) {
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  Imported result = importDoc(classDoc({classKeys("X", "工程") + desc("面积", "FArea", "5")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, errorLine("X", "工程", "另一个代码的自定义核算项目已经使用这个名称:工程"));
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_ItemPropDesc WHERE FName = '面积'"), "0");
}

TEST_F(ItemClassImport, ClashesAreCountedOverTheImportsOfOneObject) {
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  const std::string clash = classDoc({classKeys("W", "工程二")});
  importDoc(clash);
  importDoc(clash);
  EXPECT_EQ(dirty, (std::vector<std::string>{"0:1:基础资料类别[工程二]存在以下冲突:\r\nW|工程二\r\n",
                                             "0:2:基础资料类别[工程二]存在以下冲突:\r\nW|工程二\r\nW|工程二\r\n"}));
}

TEST_F(ItemClassImport, AFailingItemLeavesItsClassAndTheOtherItems) {
  Imported result = importDoc(worksDoc(item("01", "厂房", value("数量", "三")) +
                                       item("02", "仓库", value("数量", "4") + value("完工", "tRuE")) +
                                       item("03", "车间", value("地点", "FALSE") + value("完工", "false") +
                                                              value("币别", "日元"))));
  EXPECT_FALSE(result.ok);
  // One line for the class, whose description holds the line of the item.
  EXPECT_TRUE(result.error.starts_with(errorLine("W", "工程", "导入工程记录(Number:01,Name:厂房,UUID:U-01)失败!\r\n")
                                           .substr(0, 150)))
      << result.error;
  EXPECT_NE(result.error.find("数量的值必须是数字:三"), std::string::npos) << result.error;
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 1);
  EXPECT_EQ(classRow(), "3001,W,工程,工程,工程,0,t_Item_3001");
  // Flags in any case; a text column takes them as the bits' texts; a display text no row has gives 0.
  EXPECT_EQ(rows(target, "SELECT FNumber, FSite, FQty, FCurrencyID, FDone FROM t_Item_3001 ORDER BY FNumber"),
            "02,NULL,4,NULL,True;03,0,NULL,0,False");
}

TEST_F(ItemClassImport, TheCountsAreOfTheWholeImportItemsAndClassesApart) {
  auto failedClasses = [this] { return dynamic_cast<const CustomClassImportTally&>(*classes).FailedClassesOfLastImport(); };
  // A class whose item fails, before one whose items all go in.
  Imported result = importDoc(classDoc({worksKeys() + item("01", "厂房", value("数量", "三")) + item("02", "仓库"),
                                        classKeys("V", "其他") + item("01", "甲")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 1);
  EXPECT_EQ(failedClasses(), 0);
  // A class refused whole, before one that goes in: no item failed, one class record did.
  result = importDoc(classDoc({classKeys("004", "我的类") + item("X1", "甲"), classKeys("V", "其他") + item("02", "乙")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 0);
  EXPECT_EQ(failedClasses(), 1);
  // The next import counts its own.
  ASSERT_TRUE(importDoc(classDoc({classKeys("V", "其他")})).ok);
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 0);
  EXPECT_EQ(failedClasses(), 0);
}

TEST_F(ItemClassImport, DescriptionsOfOneClassDoNotStandInForAnothers) {
  // The second class has a column of the first one's property, but no description of it.
  const std::string other = classKeys("V", "其他") + desc("编号", "FSite", "200", {{"ActualSize", "20"}});
  ASSERT_TRUE(importDoc(classDoc({other})).ok);
  Imported result = importDoc(classDoc({worksKeys() + item("01", "厂房", value("地点", "北区")),
                                        classKeys("V", "其他") + item("01", "甲", value("地点", "北区"))}));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("导入其他记录(Number:01,Name:甲,UUID:U-01)失败!"), std::string::npos) << result.error;
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item_3001"), "0");
  EXPECT_EQ(rows(target, "SELECT FSite FROM t_Item_3002"), "北区");
}

TEST_F(ItemClassImport, AFileCountsEveryFailedItemOnceThroughTheFacade) {
  // Three classes: the first with failing items, the second without items (a batch of it imports none),
  // the third with one failing item. A small file is imported whole, a large one in several batches,
  // the refused class's items among them too.
  struct Case {
    const char* name;
    int firstItems;
    std::vector<int> firstFailing;
    int thirdItems;
    int refusedItems;
    bool large;
    std::string counted;
  };
  const Case cases[] = {
      {"small file", 5, {2, 4}, 3, 1, false, "工程,3;其他,0;第三,2"},
      {"large file", 250, {10, 150, 240}, 120, 1, true, "工程,247;其他,0;第三,119"},
      {"large refused class", 250, {10, 150, 240}, 120, 350, true, "工程,247;其他,0;第三,119"},
  };
  // Bar codes of the longest the account set keeps make the file large.
  const std::string barCodes = [] {
    std::string xml;
    for (char c : {'a', 'b', 'c'}) xml += tag("BarCodes", tag("BarCode", std::string(250, c)));
    return xml;
  }();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto items = [&](int count, const std::vector<int>& failing) {
      std::string xml;
      for (int k = 1; k <= count; ++k) {
        bool fails = std::find(failing.begin(), failing.end(), k) != failing.end();
        xml += item(std::to_string(1000 + k), "项" + std::to_string(k),
                    value("数量", fails ? "三" : std::to_string(k)) + (c.large ? barCodes : ""));
      }
      return xml;
    };
    // A fourth class is refused whole: it counts as a class record, not as items, and its number's
    // clash with the materials' class is told once, however many batches carry it.
    std::string refused;
    for (int k = 1; k <= c.refusedItems; ++k) refused += item("X" + std::to_string(k), "甲" + std::to_string(k));
    const std::string xml = classDoc({worksKeys() + items(c.firstItems, c.firstFailing), classKeys("V", "其他"),
                                      classKeys("X", "第三") + desc("数量", "FQty", "3") + items(c.thirdItems, {1}),
                                      classKeys("004", "我的类") + refused});
    const std::string file = dir_.write(std::string(c.name) + ".xml", Utf16LeFile(xml));
    EXPECT_EQ(std::filesystem::file_size(file) >= 512000u, c.large);
    const std::string set = newAccountSet(std::string(c.name) + ".db");
    ObjectRef facade = CreateObject("Quillane.clsExpImp");
    std::int32_t clashes = 0;
    facade->Advise([&](std::string_view event, DispId, Arguments args) {
      if (event == "DirtyRecord") clashes += CLng(args[1]);
    });
    std::vector<Variant> args{props(set), "", file, std::int32_t{500}, ""};
    EXPECT_FALSE(CBool(facade->Call("ImportCustIOFromFile", args)));
    EXPECT_EQ(CLng(facade->Get("ErrorCount")), static_cast<std::int32_t>(c.firstFailing.size()) + 1);
    EXPECT_EQ(dynamic_cast<const FailedClassRecordsTally&>(*facade).FailedClassesOfLastImport(), 1);
    EXPECT_EQ(clashes, 1);
    const std::string error = CStr(args[4]), refusal = "导入自定义核算项目记录(Number:004";
    EXPECT_EQ(error.find(refusal), error.rfind(refusal)) << error.substr(0, 600);
    EXPECT_EQ(rows(set, "SELECT c.FName, COUNT(i.FItemID) FROM t_ItemClass c LEFT JOIN t_Item i ON i.FItemClassID = "
                        "c.FItemClassID WHERE c.FItemClassID > 3000 GROUP BY c.FName ORDER BY c.FItemClassID"),
              c.counted);
  }
}

class WatchedImport : public ItemClassImport {
 protected:
  std::shared_ptr<WatchedConnection::Log> log = std::make_shared<WatchedConnection::Log>();
  ClassOverride connection_{"VLMConnection.Connection", [l = log] {
                              return std::static_pointer_cast<AutomationObject>(std::make_shared<WatchedConnection>(l));
                            }};
};

TEST_F(WatchedImport, TheDefaultsOfAClassAreAskedForWhenTheImportMovesOnToAnother) {
  const std::string works = worksKeys() + item("01", "厂房"), other = classKeys("V", "其他");
  ASSERT_TRUE(importDoc(classDoc({works, works})).ok);
  EXPECT_TRUE(log->defaults.empty());
  // Its failure changes nothing.
  ASSERT_TRUE(importDoc(classDoc({other, works})).ok);
  EXPECT_EQ(log->defaults, (std::vector<std::int32_t>{3001, 3002}));
}

TEST_F(WatchedImport, ASourceOfATableThatCannotBeReadIsNotLostInSilence) {
  exec(target, "INSERT INTO t_SubMessage (FTypeID, FID, FName) VALUES (55, '01', '行业')");
  log->refuse = "SELECT DISTINCT FTypeID";
  const std::string before = everything();
  Imported result = importDoc(classDoc({classKeys("W", "工程") + desc("行业", "FTrade", "3", {{"Search", "行业"}})}));
  EXPECT_EQ(result.error, errorLine("W", "工程", "无法读取取值来源的列表，找不到取值来源:行业"));
  EXPECT_EQ(everything(), before);
  // The sources read before the failure still answer.
  result = importDoc(worksDoc());
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, "SELECT FSearch FROM t_ItemPropDesc WHERE FName = '币别'"), "120");
}

TEST_F(WatchedImport, AFailingExistenceCheckFailsTheClassRecord) {
  ASSERT_TRUE(importDoc(worksDoc()).ok);
  log->refuse = "Select FItemClassID from t_ItemClass Where FNumber=";
  Imported result = importDoc(worksDoc());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, errorLine("W", "工程", "refused"));
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_ItemClass WHERE FNumber = 'W'"), "1");
}

}  // namespace
}  // namespace quillane::testing
