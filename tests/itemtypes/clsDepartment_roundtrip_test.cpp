// Departments exported from one account set and imported into another arrive as they left.
#include <gtest/gtest.h>

#include "department_fixture.h"

namespace quillane::testing {
namespace {

class DepartmentRoundTrip : public DepartmentTest {
 protected:
  // Exports the whole class from source and imports the page into target.
  void carry(const std::string& source, const std::string& target) {
    Page page = exportPage(props(source), 0);
    ASSERT_TRUE(page.ok) << page.error;
    Imported imported = importXml(props(target), page.xml);
    ASSERT_TRUE(imported.ok) << imported.error;
  }
  // What must arrive, keyed by number rather than by identifiers, which differ between account sets. A
  // bar code without a remark arrives with an empty one.
  static std::string content(const std::string& path) {
    return rows(path, "SELECT i.FNumber, i.FName, i.UUID, i.FDetail, i.FLevel, i.FDeleted, IsNull(p.FNumber, '-'), "
                      "d.FNote, d.FPhone, d.FFax FROM t_Item i LEFT JOIN t_Item p ON p.FItemID = i.FParentID AND "
                      "p.FItemID <> 0 LEFT JOIN t_Department d ON d.FItemID = i.FItemID WHERE i.FItemClassID = 2 "
                      "ORDER BY i.FNumber") +
           " | " +
           rows(path, "SELECT i.FNumber, b.FBarCode, IsNull(b.FRemark, '') FROM t_BarCode b JOIN t_Item i ON i.FItemID = b.FItemID "
                      "WHERE b.FTypeID = 2 ORDER BY i.FNumber, b.FBarCode");
  }
};

TEST_F(DepartmentRoundTrip, QuotesPercentSignsAndChineseTextInEveryTextField) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  const std::string odd = "O''Neil 100% 部_门";  // as SQL text: O'Neil 100% 部_门
  exec(source, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) VALUES "
               "(10, 2, '" + odd + "', '" + odd + " 组', 0, 1, 0, '" + odd + "-G'), "
               "(11, 2, '" + odd + ".1', '" + odd + "', 10, 2, 1, '" + odd + "-D')");
  exec(source, "INSERT INTO t_Department (FItemID, FParentID, FNumber, FName, FNote, FPhone, FFax) VALUES "
               "(11, 10, '" + odd + ".1', '" + odd + "', '" + odd + " 备注', '" + odd + " 电话', '" + odd + " 传真')");
  exec(source, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (2, 11, '" + odd + " 条码', '" + odd +
                   " 说明')");
  carry(source, target);
  EXPECT_EQ(content(target), content(source));
  EXPECT_NE(content(target).find("O'Neil 100% 部_门 备注"), std::string::npos) << content(target);

  // Once more onto the same rows: matched by number and name, nothing is added.
  carry(source, target);
  EXPECT_EQ(content(target), content(source));
}

TEST_F(DepartmentRoundTrip, AParentTreeWithBarCodesArrivesWhole) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  addDepartment(source, 10, "01", "总部", 0, false);
  addDepartment(source, 11, "01.01", "华东", 10, false);
  addDepartment(source, 12, "01.01.001", "上海", 11, true, ", FNote", ", '浦东'");
  exec(source, "UPDATE t_Item SET FLevel = 3 WHERE FItemID = 12");
  addDepartment(source, 13, "02", "总务", 0, true, ", FPhone", ", '021-1'");
  exec(source, "UPDATE t_Item SET FDeleted = 1 WHERE FItemID = 13");
  exec(source, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (2, 12, 'A', NULL), (2, 12, 'B', 'b')");
  carry(source, target);
  EXPECT_EQ(content(target), content(source));
}

// Groups written by a program that gives no UUID (Null or empty) still carry their details: the parent
// link goes by number and name, and the details arrive under their groups, not at the top.
TEST_F(DepartmentRoundTrip, DetailsOfGroupsWithoutAUUIDArriveUnderTheirGroups) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  addDepartment(source, 10, "01", "总部", 0, false);
  addDepartment(source, 11, "01.01", "华东", 10, false);
  addDepartment(source, 12, "01.01.001", "上海", 11);
  exec(source, "UPDATE t_Item SET FLevel = 3 WHERE FItemID = 12");
  exec(source, "UPDATE t_Item SET UUID = NULL WHERE FItemID = 10");
  exec(source, "UPDATE t_Item SET UUID = '' WHERE FItemID = 11");
  Page page = exportPage(props(source), 0);
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_NE(page.xml.find("<Parent><Number>01</Number><Name>总部</Name><UUID/></Parent>"), std::string::npos) << page.xml;
  Imported imported = importXml(props(target), page.xml);
  ASSERT_TRUE(imported.ok) << imported.error;
  const char* tree = "SELECT i.FNumber, IsNull(p.FNumber, '-'), i.FLevel FROM t_Item i LEFT JOIN t_Item p ON "
                     "p.FItemID = i.FParentID AND p.FItemID <> 0 WHERE i.FItemClassID = 2 ORDER BY i.FNumber";
  EXPECT_EQ(rows(target, tree), "01,-,1;01.01,01,2;01.01.001,01.01,3");
  EXPECT_EQ(rows(target, tree), rows(source, tree));
}

TEST_F(DepartmentRoundTrip, LinksArriveAsTheSameRecordsOfTheTarget) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  // The linked records exist in both account sets under other identifiers.
  for (const auto& [path, offset] : {std::pair{source, 0}, std::pair{target, 40}}) {
    auto id = [offset = offset](int n) { return std::to_string(n + offset); };
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (" + id(500) +
                   ", 3, 'E01', '张三', 'U-E01')");
    exec(path, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (" + id(1) + ", '6602', '管理费用', 'A1'), (" +
                   id(2) + ", '1221', '其他应收款', 'A2'), (" + id(3) + ", '2241', '其他应付款', 'A3'), (" + id(4) +
                   ", '1123', '预付账款', 'A4'), (" + id(5) + ", '2203', '预收账款', 'A5')");
    exec(path, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (" + id(7) +
                   ", 1, '01', '职能部门', 'S1'), (" + id(8) + ", 2, '02', '成本中心', 'S2')");
  }
  addDepartment(source, 10, "01", "总部", 0, false);
  addDepartment(source, 11, "01.01", "财务部", 10, true,
                ", FManager, FDProperty, FAcctID, FCostAccountType, FOtherArAcctID, FOtherAPAcctID, FPreApAcctID, "
                "FPreArAcctID",
                ", 500, 7, 1, 8, 2, 3, 4, 5");
  addDepartment(source, 12, "02", "仓储部", 0, true, ", FManager, FAcctID", ", 0, 999");  // none, and one that is gone
  exec(source, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (2, 11, 'F-1', '财务')");

  carry(source, target);
  EXPECT_EQ(content(target), content(source));
  auto links = [](const std::string& path) {
    return rows(path,
                "SELECT i.FNumber, IsNull(m.FNumber, '-'), IsNull(p.FID, '-'), IsNull(a.FNumber, '-'), IsNull(t.FID, '-'), "
                "IsNull(a1.FNumber, '-'), IsNull(a2.FNumber, '-'), IsNull(a3.FNumber, '-'), IsNull(a4.FNumber, '-') "
                "FROM t_Department d JOIN t_Item i ON i.FItemID = d.FItemID "
                "LEFT JOIN t_Item m ON m.FItemID = d.FManager AND m.FItemID <> 0 "
                "LEFT JOIN t_SubMessage p ON p.FInterID = d.FDProperty LEFT JOIN t_Account a ON a.FAccountID = d.FAcctID "
                "LEFT JOIN t_SubMessage t ON t.FInterID = d.FCostAccountType "
                "LEFT JOIN t_Account a1 ON a1.FAccountID = d.FOtherArAcctID LEFT JOIN t_Account a2 ON a2.FAccountID = "
                "d.FOtherAPAcctID LEFT JOIN t_Account a3 ON a3.FAccountID = d.FPreApAcctID LEFT JOIN t_Account a4 ON "
                "a4.FAccountID = d.FPreArAcctID ORDER BY i.FNumber");
  };
  EXPECT_EQ(links(target), "01.01,E01,01,6602,02,1221,2241,1123,2203;02,-,-,-,-,-,-,-,-");
  EXPECT_EQ(links(target), links(source));
}

TEST_F(DepartmentRoundTrip, AWildcardInANumberRenumbersOnlyItsOwnDescendants) {
  std::string target = newAccountSet();
  addDepartment(target, 10, "AB1.01", "其他");
  exec(target, "UPDATE t_Item SET FFullNumber = 'kept' WHERE FItemID = 10");
  exec(target, "UPDATE t_Department SET FNumber = 'kept' WHERE FItemID = 10");
  Imported imported = importXml(props(target), document({keys("A_1", "通配")}));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(rows(target, "SELECT FFullNumber FROM t_Item WHERE FItemID = 10"), "kept");
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Department WHERE FItemID = 10"), "kept");
}

TEST_F(DepartmentRoundTrip, RowsImportedUnderAnotherSystemTypeAreNotExportedAgain) {
  std::string target = newAccountSet();
  Imported imported = importXml(props(target), document({keys("01", "甲"), keys("02", "乙")}), Variant(std::int32_t{2}));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(rows(target, "SELECT FNumber, FSystemType FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"), "01,2;02,2");
  Page page = exportPage(props(target));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(page.xml.find("<Department>"), std::string::npos) << page.xml;

  Imported refused = importXml(props(target), document({keys("03", "丙")}), Variant("2 OR 1=1"));
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.error.find("lSystemType的值必须是数字:2 OR 1=1"), std::string::npos) << refused.error;
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2"), "2");
}

}  // namespace
}  // namespace quillane::testing
