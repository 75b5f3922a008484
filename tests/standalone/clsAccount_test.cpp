// Accounts: the keys of an exported account, and an import into an account set that holds part of the
// chart: parents, groups, currencies, units, item-class combinations, roots and the companion data.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

// Part of a chart: groups 101 and 601, the currency USD, two units named 箱 in one group, and the
// accounts 1001; 1002 with 1002.01 under it; 1122. 1002.01 and 1122 share combination 1 (customers).
const char* kPartOfAChart =
    "INSERT INTO t_AcctGroup (FGroupID, FClassID, FName) VALUES (101, 1, '流动资产'), (601, 6, '营业收入')\r\n"
    "INSERT INTO t_Currency (FCurrencyID, FNumber, FName, UUID) VALUES (5, 'USD', '美元', 'C-USD')\r\n"
    "INSERT INTO t_UnitGroup (FUnitGroupID, FName) VALUES (30, '个数组')\r\n"
    "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FNumber, FName, UUID) VALUES "
    "(31, 31, 30, '01', '箱', 'M-31'), (32, 32, 30, '02', '箱', 'M-32'), (33, 33, 30, '03', '个', 'M-33')\r\n"
    "INSERT INTO t_Account (FAccountID, FNumber, FName, FLevel, FDetail, FDC, FGroupID, FParentID, FRootID, FCurrencyID, "
    "FDetailID, UUID) VALUES (10, '1001', '库存现金', 1, 1, 1, 101, 0, 10, 5, 0, 'A1'), "
    "(11, '1002', '银行存款', 1, 0, 1, 101, 0, 11, 0, 0, 'A2'), (12, '1002.01', '工行', 2, 1, 1, 101, 11, 11, 0, 1, 'A3'), "
    "(13, '1122', '应收账款', 1, 1, 1, 101, 0, 13, 0, 1, 'A4')\r\n"
    "INSERT INTO t_ItemDetail (FDetailID, FDetailCount, F1) VALUES (1, 1, -1)\r\n"
    "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) VALUES (1, 1, -1)";

std::string account(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}
auto byUUID = [](ObjectRef& o) { o->Let("CheckByUUID", true); };

class AccountTest : public StandaloneTest {
 protected:
  void SetUp() override {
    StandaloneTest::SetUp();
    exec(target, kPartOfAChart);
  }
  std::string accounts(const std::string& columns) {
    return rows(target, "SELECT " + columns + " FROM t_Account a ORDER BY a.FNumber");
  }

  std::string target = newAccountSet();
};

// The accounts afterwards: number, name, parent's number, level, detail flag, direction, UUID.
const char* kTree = "a.FNumber, a.FName, IsNull((SELECT p.FNumber FROM t_Account p WHERE p.FAccountID = a.FParentID AND "
                    "a.FParentID <> 0), '-'), a.FLevel, a.FDetail, a.FDC, a.UUID";
const char* kChart = "1001,库存现金,-,1,1,1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;1122,应收账款,-,1,1,1,A4";

struct TreeCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  std::string tree;
};
void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.what; }

const TreeCase kTreeCases[] = {
    {"a missing parent is made as a placeholder, then loses its detail flag",
     account("2202.01", "应付甲", element("Level", "2") + element("Detail", "1") + element("DC", "贷") +
                                      link("Parent", "2202", "应付账款", "P-2202") + element("UUID", "N1")),
     {}, std::string(kChart) + ";2202,应付账款,-,1,0,1,P-2202;2202.01,应付甲,2202,2,1,-1,N1"},
    {"the same number and name update only what the record holds; 借 is debit",
     account("1002.01", "工行", element("Detail", "0") + element("DC", "借")), {},
     "1001,库存现金,-,1,1,1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,-,2,0,1,A3;1122,应收账款,-,1,1,1,A4"},
    {"a record without DC is credit, one whose number exists takes its new name", account("1001", "现金"), {},
     "1001,现金,-,1,1,-1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;1122,应收账款,-,1,1,1,A4"},
    {"with CheckByUUID a parent found by UUID takes the record's number and name",
     account("1003.01", "活期", element("DC", "借") + link("Parent", "1003", "现金等价物", "A1") + element("UUID", "N2")),
     byUUID,
     "1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;1003,现金等价物,-,1,0,1,A1;1003.01,活期,1003,1,1,1,N2;"
     "1122,应收账款,-,1,1,1,A4"},
    {"with CheckByUUID a parent found by UUID keeps its own when another account has both",
     account("1002.09", "其他", element("DC", "借") + link("Parent", "1002", "银行存款", "A1") + element("UUID", "N3")),
     byUUID,
     "1001,库存现金,-,1,0,1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;1002.09,其他,1001,1,1,1,N3;"
     "1122,应收账款,-,1,1,1,A4"},
    {"AddNewOnly leaves an existing account alone, but its missing parent is made",
     account("1122", "应收", link("Parent", "11", "应收类", "")), [](ObjectRef& o) { o->Let("AddNewOnly", true); },
     "1001,库存现金,-,1,1,1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;11,应收类,-,1,1,1,;"
     "1122,应收账款,-,1,1,1,A4"},
};

class AccountTree : public AccountTest, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(AccountTree, Branches) {
  const TreeCase& c = GetParam();
  importInto(target, "Quillane.clsAccount", "Account", {c.record}, c.options);
  EXPECT_EQ(accounts(kTree), c.tree);
}

INSTANTIATE_TEST_SUITE_P(Records, AccountTree, ::testing::ValuesIn(kTreeCases));

TEST_F(AccountTest, TheDataAccessHearsOfANewAccountTwiceAndOfEveryAccountTwice) {
  importInto(target, "Quillane.clsAccount", "Account",
             {account("1002.02", "建行", link("Parent", "1002", "银行存款", "A2")), account("1001", "库存现金")}, {});
  const std::string id = rows(target, "SELECT FAccountID FROM t_Account WHERE FNumber = '1002.02'");
  EXPECT_EQ(dataAccess.calls(), (std::vector<std::string>{
                                    "CreateData 105 " + id + " detail=True parent=11",
                                    "CreateData 1052 " + id + " detail=True parent=11",
                                    "UpdateData 105 " + id + " parent=11",
                                    "UpdateData 1052 " + id + " parent=11",
                                    "UpdateData 105 10 parent=0",
                                    "UpdateData 1052 10 parent=0",
                                }));
}

struct GroupCase {
  const char* what;
  const char* groups;  // t_AcctGroup before the import, besides what the chart holds; "empty": none at all
  std::string group;   // the record's GroupName
  const char* after;   // t_AcctGroup afterwards: FGroupID,FClassID,FName,FName_en
  const char* accountGroup;
};
void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.what; }

const GroupCase kGroupCases[] = {
    {"a new group takes its first digit as class and its name thrice", "", link("GroupName", "205", "应付款项", "G9"),
     "101,1,流动资产,NULL;205,2,应付款项,应付款项;601,6,营业收入,NULL", "205"},
    {"an existing group is found by its number alone; another group of that name keeps its number", "",
     link("GroupName", "601", "流动资产", "G9"), "101,1,流动资产,NULL;601,6,营业收入,NULL", "601"},
    {"group 0 takes the highest class", "", link("GroupName", "0", "其他", ""),
     "0,6,其他,其他;101,1,流动资产,NULL;601,6,营业收入,NULL", "0"},
    {"group 0 in an account set without groups goes into class 0", "empty", link("GroupName", "0", "其他", ""),
     "0,0,其他,其他", "0"},
};

class AccountGroup : public AccountTest, public ::testing::WithParamInterface<GroupCase> {};

TEST_P(AccountGroup, Branches) {
  const GroupCase& c = GetParam();
  if (std::string(c.groups) == "empty") exec(target, "DELETE FROM t_AcctGroup");
  importInto(target, "Quillane.clsAccount", "Account", {account("1001", "库存现金", c.group)}, {});
  EXPECT_EQ(rows(target, "SELECT FGroupID, FClassID, FName, FName_en FROM t_AcctGroup ORDER BY FGroupID"), c.after);
  EXPECT_EQ(rows(target, "SELECT FGroupID FROM t_Account WHERE FNumber = '1001'"), c.accountGroup);
}

INSTANTIATE_TEST_SUITE_P(Records, AccountGroup, ::testing::ValuesIn(kGroupCases));

struct LinkCase {
  const char* what;
  std::string links;
  std::function<void(ObjectRef&)> options;
  const char* after;  // FCurrencyID,FMeasureUnitID,FUnitGroupID of 1001 (currency 5, no unit before)
};
void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.what; }

const LinkCase kLinkCases[] = {
    {"no Currency and no MeasureUnit leave them alone", "", {}, "5,0,0"},
    {"a currency that matches nothing gives 0", link("Currency", "EUR", "欧元", ""), {}, "0,0,0"},
    {"with CheckByUUID a currency is found by UUID whatever its number", link("Currency", "US$", "美金", "C-USD"),
     byUUID, "5,0,0"},
    {"one unit of the name is the unit, whatever its number", link("MeasureUnit", "99", "个", ""), {}, "5,33,30"},
    {"of two units of one name the one of the record's number", link("MeasureUnit", "02", "箱", ""), {}, "5,32,30"},
    {"of two units of one name none of another number", link("MeasureUnit", "04", "箱", ""), {}, "5,0,0"},
    {"with CheckByUUID a unit is found by UUID", link("MeasureUnit", "02", "箱子", "M-31"), byUUID, "5,31,30"},
};

class AccountLinks : public AccountTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(AccountLinks, Branches) {
  const LinkCase& c = GetParam();
  importInto(target, "Quillane.clsAccount", "Account", {account("1001", "库存现金", c.links)}, c.options);
  EXPECT_EQ(rows(target, "SELECT FCurrencyID, FMeasureUnitID, FUnitGroupID FROM t_Account WHERE FNumber = '1001'"), c.after);
}

INSTANTIATE_TEST_SUITE_P(Records, AccountLinks, ::testing::ValuesIn(kLinkCases));

std::string itemClasses(const std::vector<std::pair<std::string, std::string>>& classes) {
  std::string xml;
  for (const auto& [number, name] : classes) xml += link("ItemClass", number, name, "");
  return xml;
}

TEST_F(AccountTest, ACombinationIsWrittenAnewButNeverOneAnotherAccountShares) {
  const char* combinations = "SELECT a.FNumber, a.FDetailID, d.FDetailCount, d.F1, d.F2, d.F3, "
                             "(SELECT COUNT(*) FROM t_ItemDetailV v WHERE v.FDetailID = a.FDetailID) FROM t_Account a "
                             "LEFT JOIN t_ItemDetail d ON d.FDetailID = a.FDetailID ORDER BY a.FNumber";
  // 1002.01 shares combination 1 with 1122: it gets one of its own.
  importInto(target, "Quillane.clsAccount", "Account",
             {account("1002.01", "工行", itemClasses({{"002", "部门"}, {"003", "职员"}}))}, {});
  EXPECT_EQ(rows(target, combinations),
            "1001,0,NULL,NULL,NULL,NULL,0;1002,0,NULL,NULL,NULL,NULL,0;1002.01,2,2,0,-1,-1,2;1122,1,1,-1,0,0,1");
  // Its own combination is rewritten under the same id; a class the account set lacks is passed over.
  importInto(target, "Quillane.clsAccount", "Account",
             {account("1002.01", "工行", itemClasses({{"001", "客户"}, {"999", "无此类"}}))}, {});
  EXPECT_EQ(rows(target, combinations),
            "1001,0,NULL,NULL,NULL,NULL,0;1002,0,NULL,NULL,NULL,NULL,0;1002.01,2,1,-1,0,0,1;1122,1,1,-1,0,0,1");
  // No class found: the account keeps no combination, and its old one is gone.
  importInto(target, "Quillane.clsAccount", "Account", {account("1002.01", "工行", itemClasses({{"999", "无此类"}}))}, {});
  EXPECT_EQ(rows(target, combinations),
            "1001,0,NULL,NULL,NULL,NULL,0;1002,0,NULL,NULL,NULL,NULL,0;1002.01,0,NULL,NULL,NULL,NULL,0;1122,1,1,-1,0,0,1");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_ItemDetail"), "1");
}

TEST_F(AccountTest, TheRootIsTheTopOfTheTreeForTheAccountAndItsNumbersBelow) {
  // Ten levels under 9, without roots; and 1001.01 under 1001.
  std::string number = "9";
  exec(target, "INSERT INTO t_Account (FAccountID, FNumber, FName, FParentID) VALUES (100, '9', 'L1', 0)");
  for (int level = 2; level <= 10; ++level) {
    number += ".1";
    exec(target, "INSERT INTO t_Account (FAccountID, FNumber, FName, FParentID) VALUES (" + std::to_string(99 + level) +
                     ", '" + number + "', 'L" + std::to_string(level) + "', " + std::to_string(98 + level) + ")");
  }
  exec(target, "INSERT INTO t_Account (FAccountID, FNumber, FName, FParentID, FRootID) VALUES (14, '1001.01', '零钱', 10, 10)");
  importInto(target, "Quillane.clsAccount", "Account",
             {account(number, "L10", link("Parent", number.substr(0, number.size() - 2), "L9", "")),
              account("9.1.1", "L3", link("Parent", "9.1", "L2", "")), account("10_1", "通配", element("UUID", "W"))},
             {});
  EXPECT_EQ(rows(target, "SELECT FRootID, COUNT(*) FROM t_Account WHERE FNumber LIKE '9%' GROUP BY FRootID"),
            "0,2;100,8");  // 9 and 9.1 are above the imported accounts: their roots stay as they were
  // "_" in a number matches only itself: 1001.01 is no account below 10_1.
  EXPECT_EQ(rows(target, "SELECT FRootID FROM t_Account WHERE FNumber = '1001.01'"), "10");
}

TEST_F(AccountTest, FailingRecordsAreRolledBackWithTheirLinesAndTheNextOnesCommit) {
  refuseUpdateTo(target, "t_Account", "坏");
  dataAccess.refuseItem(13);  // 1122: its UpdateData is refused
  ObjectRef object = CreateObject("Quillane.clsAccount");
  ImportResult result = ImportXml(
      object, props(target),
      document("Account", {account("3001", "坏", link("Parent", "30", "坏的上级", "") + element("UUID", "B")),
                           account("1122", "应收账款", element("DC", "借")),
                           account("1003", "好", link("Parent", "", "", "")),
                           account("2001", "短期借款", element("DC", "贷") + link("GroupName", "2x", "负债", "")),
                           account("1001", "库存现金", element("DC", "借"))}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(object->Get("ErrorCount")), 4);
  EXPECT_TRUE(holds(result.error, "导入科目记录(Number:3001,Name:坏,UUID:B)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "导入科目记录(Number:1122,Name:应收账款,UUID:)失败!\r\n错误号:-2147467259\r\n"
                                  "错误源:Fenwold.DataAccess"))
      << result.error;
  EXPECT_TRUE(holds(result.error, "导入科目记录(Number:1003,Name:好,UUID:)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "上级科目既找不到也无法建立:,")) << result.error;
  EXPECT_TRUE(holds(result.error, "GroupName的值必须是数字:2x")) << result.error;
  // Nothing of the failed records stays, the placeholder parent of the first included; the last commits.
  EXPECT_EQ(accounts(kTree), "1001,库存现金,-,1,1,1,A1;1002,银行存款,-,1,0,1,A2;1002.01,工行,1002,2,1,1,A3;1122,应收账款,-,1,1,1,A4");
}

TEST_F(AccountTest, ANewAccountWhoseCompanionDataIsRefusedIsNotKept) {
  dataAccess.refuseItem(14);  // the id the next new account gets
  ImportResult result = ImportXml(CreateObject("Quillane.clsAccount"), props(target),
                                  document("Account", {account("1003", "其他货币资金", element("UUID", "N"))}));
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(holds(result.error, "导入科目记录(Number:1003,Name:其他货币资金,UUID:N)失败!\r\n错误号:-2147467259\r\n"
                                  "错误源:Fenwold.DataAccess"))
      << result.error;
  EXPECT_EQ(dataAccess.calls(), (std::vector<std::string>{"CreateData 105 14 detail=True parent=0"}));
  EXPECT_EQ(accounts(kTree), kChart);
}

TEST_F(StandaloneTest, AnAccountExportsItsKeysWithDefaultsForNulls) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_AcctGroup (FGroupID, FClassID, FName, UUID) VALUES (101, 1, '流动资产', 'G1')\r\n"
               "INSERT INTO t_Account (FAccountID, FNumber, FName, FHelperCode, FLevel, FDetail, FAdjustRate, FIntRate, FDC, "
               "FGroupID, FParentID, FDetailID, FControlSystem, UUID) VALUES "
               "(1, '1122', '应收账款', NULL, 1, NULL, NULL, 0.5, NULL, 101, 0, 7, NULL, 'A1'), "
               "(2, '1122.01', '甲', 'JIA', 2, -1, 1, NULL, -1, 999, 1, 0, 3, 'A2')\r\n"
               "INSERT INTO t_ItemDetailV (FDetailID, FItemClassID, FItemID) VALUES (7, 1, -1), (7, 2, -2), (7, 3, 5)");
  ExportedPage page = ExportPage(CreateObject("Quillane.clsAccount"), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  // A Null detail flag is a detail; Null flags are left out; a Null direction is debit; -1 is credit; a
  // group that is gone is left out; item classes of FItemID -1 and -2 only.
  EXPECT_EQ(page.xml,
            "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\"><Account><Name>应收账款</Name><Number>1122</Number>"
            "<HelperCode/><Level>1</Level><Detail>1</Detail><Contact>0</Contact><Quantities>0</Quantities><IsCash>0"
            "</IsCash><IsBank>0</IsBank><Journal>0</Journal><IsCashFlow>0</IsCashFlow><Acctint>0</Acctint><IntRate>0.5"
            "</IntRate><DC>借</DC><GroupName><Number>101</Number><Name>流动资产</Name><UUID>G1</UUID></GroupName>"
            "<ItemClass><Number>001</Number><Name>客户</Name><UUID>00000001-0000-4000-8000-000000000000</UUID></ItemClass>"
            "<ItemClass><Number>002</Number><Name>部门</Name><UUID>00000002-0000-4000-8000-000000000000</UUID></ItemClass>"
            "<UUID>A1</UUID><FControlSystem>0</FControlSystem></Account><Account><Name>甲</Name><Number>1122.01</Number>"
            "<HelperCode>JIA</HelperCode><Level>2</Level><Detail>1</Detail><AdjustRate>1</AdjustRate><Contact>0</Contact>"
            "<Quantities>0</Quantities><IsCash>0</IsCash><IsBank>0</IsBank><Journal>0</Journal><IsCashFlow>0</IsCashFlow>"
            "<Acctint>0</Acctint><DC>贷</DC><Parent><Number>1122</Number><Name>应收账款</Name><UUID>A1</UUID></Parent>"
            "<UUID>A2</UUID><FControlSystem>3</FControlSystem></Account></Root>");
}

}  // namespace
}  // namespace quillane::testing
