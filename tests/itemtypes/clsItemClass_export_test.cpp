// The export of a custom item class: the class record, its property descriptions and a page of its
// items with their property values.
#include <gtest/gtest.h>

#include "itemtypes/item_class_fixture.h"
#include "itemtypes/watched_connection.h"
#include "platform/xml/TrzWriter.h"

namespace quillane::testing {
namespace {

class ItemClassExport : public ItemClassTest {
 protected:
  void SetUp() override {
    ItemClassTest::SetUp();
    addWorks(path);
  }
  std::string document(const std::string& items, const std::string& descriptions = worksDescriptions()) {
    return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass xmlns=\"" +
           std::string(kItemClassNamespace) + "\">" + tag("Name", "工程") + tag("Number", "W") +
           tag("ItemClassID", "3005") + tag("SQLTableName", "t_Item_3005") + tag("Type", "0") + descriptions + items +
           "</ItemClass></Root>";
  }
  static std::string value(const std::string& name, const std::string& text) {
    return tag("CustomProperty", tag("PropertyName", name) + tag("PropertyValue", text));
  }
  static std::string group() {
    return tag("Item", tag("Name", "一期") + tag("Number", "01") + tag("Level", "1") + tag("IsDetail", "0") +
                           tag("UUID", "G-01"));
  }
  static std::string item(const std::string& number, const std::string& name, const std::string& uuid,
                          const std::string& values) {
    return tag("Item", tag("Name", name) + tag("Number", number) +
                           tag("Parent", tag("Number", "01") + tag("Name", "一期") + tag("UUID", "G-01")) +
                           tag("Level", "2") + tag("IsDetail", "1") + tag("UUID", uuid) + values);
  }
  static std::string firstItem() {
    return item("01.001", "厂房", "U-1", value("地点", "北区") + value("数量", "3") + value("币别", "人民币") + value("完工", "True"));
  }
  // A Null text takes its default; a Null number, a currency of 0 are not written; False is.
  static std::string secondItem() { return item("01.002", "仓库", "U-2", value("地点", "未定") + value("完工", "False")); }

  std::string path = newAccountSet();
  std::string propsString = props(path);
};

TEST_F(ItemClassExport, WritesTheClassItsDescriptionsAndItsItemsWithTheirValues) {
  Page page = exportClass(propsString, "工程");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml, document(group() + firstItem() + secondItem()));
  EXPECT_EQ(page.error, "");
  EXPECT_EQ(page.stamp, page.maxStamp);
  EXPECT_EQ(CLng(classes->Get("ErrorCount")), 0);
}

TEST_F(ItemClassExport, EveryPageRepeatsTheClassAndItsDescriptions) {
  std::vector<std::string> items = {group(), firstItem(), secondItem(), ""};
  std::string stamp, maxStamp;
  for (const std::string& expected : items) {
    Page page = exportClass(propsString, "工程", 1, stamp);
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_EQ(page.xml, document(expected));
    if (expected.empty()) {
      EXPECT_EQ(page.stamp, "0xFFFFFFFFFFFFFFFF");
    } else {
      EXPECT_GT(page.stamp, stamp);
    }
    if (!maxStamp.empty()) {
      EXPECT_EQ(page.maxStamp, maxStamp);
    }
    stamp = page.stamp;
    maxStamp = page.maxStamp;
  }
}

TEST_F(ItemClassExport, ACancelledPageEndsAfterItsItemAndTheNextPageGoesOnFromThere) {
  std::vector<std::string> progress;
  classes->Advise([&](std::string_view event, DispId, Arguments args) {
    progress.push_back(std::string(event) + " " + CStr(args[0]) + "/" + CStr(args[1]));
    if (CLng(args[0]) == 2) args[2] = Variant(true);
  });
  classes->Let("bProgress", true);
  Page page = exportClass(propsString, "工程", 0);
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml, document(group() + firstItem()));
  EXPECT_EQ(progress, (std::vector<std::string>{"Progress 1/3", "Progress 2/3"}));

  classes->Let("bProgress", false);
  Page rest = exportClass(propsString, "工程", 0, page.stamp);
  ASSERT_TRUE(rest.ok) << rest.error;
  EXPECT_EQ(rest.xml, document(secondItem()));
}

TEST_F(ItemClassExport, TheCallersFilterSelectsTheItems) {
  classes->Let("Filter", "FNumber LIKE '%.002'");
  Page page = exportClass(propsString, "工程");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml, document(secondItem()));
}

TEST_F(ItemClassExport, DescriptionsFollowTheirOwnRows) {
  exec(path,
       "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType) VALUES (3006, 'N', '无表', 1)\r\n"
       "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FActualType, FActualSize, FSearch) VALUES "
       "(3006, 5, '空长', 200, 0, NULL), (3006, 6, '零长', 3, 0, 0), (3006, 7, '无长', 200, NULL, 7)\r\n"
       "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (20, 3006, '1', '甲', 'U-20')");
  Page page = exportClass(propsString, "无表");
  ASSERT_TRUE(page.ok) << page.error;
  // A text of size 0 is a text of ten; other sizes and a missing one stay as stored. A class without a
  // table has an empty table name, and its items no property values.
  EXPECT_EQ(page.xml,
            "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass xmlns=\"" +
                std::string(kItemClassNamespace) + "\">" + tag("Name", "无表") + tag("Number", "N") +
                tag("ItemClassID", "3006") + "<SQLTableName/>" + tag("Type", "1") +
                tag("CustomPropertyStruct", tag("ActualType", "200") + tag("ActualSize", "10") + tag("Name", "空长")) +
                tag("CustomPropertyStruct",
                    tag("ActualType", "3") + tag("ActualSize", "0") + tag("Name", "零长") + tag("Search", "--无--")) +
                tag("CustomPropertyStruct", tag("ActualType", "200") + tag("Name", "无长") + tag("Search", "计量单位")) +
                tag("Item", tag("Name", "甲") + tag("Number", "1") + tag("Level", "1") + tag("IsDetail", "1") +
                                tag("UUID", "U-20")) +
                "</ItemClass></Root>");
}

TEST_F(ItemClassExport, ClassesOnlyIndustrialAccountSetsExchangeAreRefusedByTheirNames) {
  struct Case {
    const char* name;
    const char* acctType;
    const char* servicePack;
    const char* error;  // empty: exported
  };
  const Case cases[] = {
      {"成本对象", "GY", "2.0.0.3", ""},
      {"成本对象", "GY", "2.0.0.2", "只有 Q7 9.2 及以上版本的工业账套才支持成本对象的导入导出!"},
      {"劳务", "SY", "3.0.0.0", "只有工业账套才支持劳务的导入导出!"},
      {"费用", "SY", "2.0.0.2", "只有工业账套才支持费用的导入导出!"},
      {"工作中心", "SY", "3.0.0.0", "只有工业账套才支持工作中心的导入导出，请选择工业账套或性质相当于工业账套!"},
      {"工作中心", "GY", "2.0.0.2", ""},
      // The gate goes by the names as written, not by the classes the account set names otherwise.
      {"劳务输出", "SY", "2.0.0.2", ""},
  };
  for (const Case& c : cases) {
    exec(path, std::string("UPDATE t_SystemProfile SET FValue = '") + c.servicePack + "' WHERE FKey = 'ServicePack'");
    Page page = exportClass(props(path, std::string("UserID=16;AcctType=") + c.acctType), c.name);
    EXPECT_EQ(page.ok, *c.error == 0) << c.name << " " << c.acctType << " " << c.servicePack;
    EXPECT_EQ(page.error, c.error) << c.name << " " << c.acctType << " " << c.servicePack;
  }
}

TEST_F(ItemClassExport, TheGateAndTheMissingClassSpeakTheUsersLanguage) {
  useLanguage("en");
  Page page = exportClass(props(path, "UserID=16;AcctType=SY"), "工作中心");
  EXPECT_EQ(page.error,
            "Only industrial account sets support Work centre import and export; choose an industrial account set or "
            "one of the same nature!");
  page = exportClass(propsString, "无此类");
  EXPECT_FALSE(page.ok);
  EXPECT_EQ(page.error, "There is no custom item class 无此类 !");
}

TEST_F(ItemClassExport, NamesAndStoredKeysAreQuotedInTheStatements) {
  // A class whose name holds an apostrophe, and a lookup whose key is a text holding one.
  exec(path,
       "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType, FSQLTableName) VALUES (3007, 'Q', 'O''Neil', 0, 't_Item_3007')\r\n"
       "CREATE TABLE t_Item_3007(FItemID int Not NULL PRIMARY KEY, FTaxCode varchar(20))\r\n"
       "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FSQLColumnName, FSrcTable, FSrcField, FDisplayField) "
       "VALUES (3007, 8, '税种', 'FTaxCode', 't_SubMessage', 'FID', 'FName')\r\n"
       "INSERT INTO t_SubMessage (FTypeID, FID, FName) VALUES (3, 'V''1', '增值税')\r\n"
       "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (30, 3007, '1', '甲', 'U-30')\r\n"
       "INSERT INTO t_Item_3007 (FItemID, FTaxCode) VALUES (30, 'V''1')");
  Page page = exportClass(propsString, "O'Neil");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_NE(page.xml.find(value("税种", "增值税")), std::string::npos) << page.xml;
}

TEST_F(ItemClassExport, IdentifiersFromTheAccountSetMustBePlainNames) {
  struct Case {
    const char* column;
    const char* value;
  };
  const Case cases[] = {
      {"FSrcTable", "t_Currency WHERE 1=1; DELETE FROM t_Item; --"},
      {"FSrcField", "FCurrencyID=1 OR 1"},
      {"FDisplayField", "(SELECT FName FROM t_User)"},
      {"FSQLColumnName", "FQty]"},
  };
  for (const Case& c : cases) {
    exec(path, std::string("UPDATE t_ItemPropDesc SET ") + c.column + " = '" + c.value + "' WHERE FPropID = 3");
    Page page = exportClass(propsString, "工程");
    EXPECT_FALSE(page.ok) << c.column;
    const std::string key = std::string(c.column).substr(1);
    EXPECT_NE(page.error.find(key + "的值必须是表名或列名:" + c.value), std::string::npos) << page.error;
    EXPECT_EQ(rows(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 3005"), "3");
    exec(path, "DELETE FROM t_ItemPropDesc WHERE FPropID = 3\r\n"
               "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FSQLColumnName, FDataType, FActualType, "
               "FActualSize, FSrcTable, FSrcField, FDisplayField, FSearch) VALUES (3005, 3, '币别', 'FCurrencyID', 3, 3, 4, "
               "'t_Currency', 'FCurrencyID', 'FName', 120)");
  }
  EXPECT_TRUE(exportClass(propsString, "工程").ok);
}

TEST_F(ItemClassExport, AFailingLookupEndsTheExportWithItsError) {
  exec(path, "UPDATE t_ItemPropDesc SET FSrcTable = 't_NoSuchTable' WHERE FPropID = 3");
  Page page = exportClass(propsString, "工程");
  EXPECT_FALSE(page.ok);
  EXPECT_TRUE(page.error.starts_with("错误号:")) << page.error;
  EXPECT_NE(page.error.find("t_NoSuchTable"), std::string::npos) << page.error;
  // The statement is not shown: only the error's own text names the table.
  EXPECT_EQ(page.error.find("执行错误的SQL语句:"), std::string::npos) << page.error;
}

TEST_F(ItemClassExport, ASearchTableThatCannotBeReadWholeAnswersFromWhatWasRead) {
  auto log = std::make_shared<WatchedConnection::Log>();
  log->refuse = "SELECT DISTINCT FTypeID";
  ClassOverride connection("VLMConnection.Connection", [log] {
    return std::static_pointer_cast<AutomationObject>(std::make_shared<WatchedConnection>(log));
  });
  Page page = exportClass(propsString, "工程");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml, document(group() + firstItem() + secondItem()));
}

TEST_F(ItemClassExport, ADescriptionWithoutAColumnHasNoValues) {
  exec(path, "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FDataType) VALUES (3005, 9, '备注', 200)");
  Page page = exportClass(propsString, "工程");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml, document(group() + firstItem() + secondItem(),
                               worksDescriptions() + tag("CustomPropertyStruct", tag("DataType", "200") + tag("Name", "备注"))));
}

TEST_F(ItemClassExport, ARejectedPropsStringEndsTheCallBeforeTheDatabase) {
  Page page = exportClass("ConnectString={x}", "工程");
  EXPECT_FALSE(page.ok);
  EXPECT_TRUE(page.error.starts_with("错误号:")) << page.error;
}

}  // namespace
}  // namespace quillane::testing
