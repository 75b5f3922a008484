// Links whose parts are Null or missing travel: a Null number or name is packed as the empty text,
// and a link (or parent) given by its number alone, or an empty one, is imported whole on every road.
#include <gtest/gtest.h>

#include "facade_fixture.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lAccount = 1, lDepartment = 6, lSettle = 22;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string rootOf(const char* type, const std::string& records) {
  return std::string("<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"") + type + "\">" + records + "</Root>";
}

class LinkParts : public FacadeTest {
 protected:
  void SetUp() override {
    FacadeTest::SetUp();
    target = dir_.file("target.db");
    accountset::CreateSample(target, 2);
  }
  std::string target;
};

TEST_F(LinkParts, ALinkedRecordWithANullNameIsPackedWithAnEmptyOneAndItsRecordTravels) {
  const std::string source = dir_.file("source.db");
  accountset::CreateSample(source, 2);
  exec(source, "UPDATE t_Account SET FName = NULL WHERE FNumber = '1001'");
  exec(source, "UPDATE t_Currency SET FName = NULL WHERE FNumber = 'USD'");
  exec(source, "UPDATE t_Account SET FCurrencyID = 2 WHERE FNumber = '1122'");
  exec(target, "UPDATE t_Account SET FName = '' WHERE FNumber = '1001'");
  exec(target, "DELETE FROM t_Settle");
  struct Case {
    std::int32_t lIO;
    const char* packed;  // what the exported page holds of the link
    const char* check;   // a query on the target after the import
    const char* expected;
  };
  const Case cases[] = {
      {lSettle, "<Account><Number>1001</Number><Name/>", "SELECT FNumber, FAcctID FROM t_Settle WHERE FNumber = 'JF01'",
       "JF01,1"},
      {lAccount, "<Currency><Number>USD</Number><Name/>", "SELECT COUNT(*) FROM t_Account WHERE FNumber = '1122'", "1"},
  };
  for (const Case& c : cases) {
    Page page = facadeExport(c.lIO, props(source));
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_TRUE(holds(page.xml, c.packed)) << page.xml;
    Imported imported = facadeImport(c.lIO, page.xml, props(target));
    EXPECT_TRUE(imported.ok) << c.lIO << ": " << imported.error;
    EXPECT_EQ(rows(target, c.check), c.expected) << c.lIO;
  }
}

TEST_F(LinkParts, ALinkOrParentGivenByNumberAloneOrEmptyIsImportedWhole) {
  struct Case {
    const char* what;
    std::int32_t lIO;
    std::string document;
    const char* check;
    const char* expected;
  };
  const Case cases[] = {
      {"settle, account by number", lSettle,
       rootOf("Settle", "<Settle><Name>汇款</Name><Number>JF09</Number><Account><Number>1122</Number></Account></Settle>"),
       "SELECT FAcctID FROM t_Settle WHERE FNumber = 'JF09'", "-1"},  // unmatched: its number and name are compared
      {"settle, account by name", lSettle,
       rootOf("Settle", "<Settle><Name>汇票</Name><Number>JF08</Number><Account><Name>应收账款</Name></Account></Settle>"),
       "SELECT FAcctID FROM t_Settle WHERE FNumber = 'JF08'", "-1"},
      {"settle, empty account", lSettle, rootOf("Settle", "<Settle><Name>托收</Name><Number>JF07</Number><Account/></Settle>"),
       "SELECT FAcctID FROM t_Settle WHERE FNumber = 'JF07'", "-1"},
      {"account, currency by number", lAccount,
       rootOf("Account", "<Account><Name>外币户</Name><Number>1002.09</Number><Currency><Number>USD</Number></Currency>"
                         "<Parent><Number>1002</Number></Parent></Account>"),
       "SELECT a.FParentID, p.FName FROM t_Account a JOIN t_Account p ON p.FAccountID = a.FParentID WHERE a.FNumber = '1002.09'",
       "2,银行存款"},
      {"account, empty parent", lAccount, rootOf("Account", "<Account><Name>其他</Name><Number>1009</Number><Parent/></Account>"),
       "SELECT FParentID FROM t_Account WHERE FNumber = '1009'", "0"},
      {"department, parent by number", lDepartment,
       document({element("Name", "部门0009") + element("Number", "01.0009") + "<Parent><Number>01</Number></Parent>" +
                 element("Level", "2") + element("IsDetail", "1")}),
       "SELECT d.FParentID, p.FName FROM t_Item d JOIN t_Item p ON p.FItemID = d.FParentID WHERE d.FNumber = '01.0009' "
       "AND d.FItemClassID = 2",
       "12,部门组01"},
      {"department, empty parent", lDepartment,
       document({element("Name", "部门0010") + element("Number", "0010") + "<Parent/>" + element("IsDetail", "1")}),
       "SELECT FParentID FROM t_Item WHERE FNumber = '0010' AND FItemClassID = 2", "0"},
  };
  for (const Case& c : cases) {
    Imported imported = facadeImport(c.lIO, c.document, props(target));
    EXPECT_TRUE(imported.ok) << c.what << ": " << imported.error;
    EXPECT_EQ(rows(target, c.check), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace quillane::testing
