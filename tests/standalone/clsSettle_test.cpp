// Settlement methods: how an imported record meets the target's rows, and the account each one posts to.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

struct SettleCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  const char* rows;  // t_Settle afterwards: FItemID,FNumber,FName,FAcctID,FStatus,UUID,FSystemType
  std::vector<std::string> calls;
};
void PrintTo(const SettleCase& c, std::ostream* os) { *os << c.what; }

std::string method(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}
auto byUUID = [](ObjectRef& o) { o->Let("CheckByUUID", true); };
const char* kUntouched = "10,JF01,现金,1,1,S1,1";

const SettleCase kCases[] = {
    {"a new method is inserted, given its companion data and its account",
     method("JF02", "支票", link("Account", "1002", "银行存款", "") + element("UUID", "S2")), {},
     "10,JF01,现金,1,1,S1,1;11,JF02,支票,2,0,S2,1", {"CreateData 130 11 detail=True parent=0"}},
    {"the same number and name update the method", method("JF01", "现金", link("Account", "1002", "银行存款", "")), {},
     "10,JF01,现金,2,1,S1,1", {}},
    {"the number alone finds a renamed method", method("JF01", "现钞"), {}, "10,JF01,现钞,0,1,S1,1", {}},
    {"with CheckByUUID the UUID finds the method whatever its number",
     method("JF09", "现金", element("UUID", " S1 ")), byUUID, "10,JF09,现金,0,1, S1 ,1", {}},
    {"an unmatched UUID falls back to number and name", method("JF01", "现金", element("UUID", "S9")), byUUID,
     "10,JF01,现金,0,1,S9,1", {}},
    {"AddNewOnly leaves an existing method alone", method("JF01", "现金", link("Account", "1002", "银行存款", "")),
     [](ObjectRef& o) { o->Let("AddNewOnly", true); }, kUntouched, {}},
    {"an account that matches nothing is kept as -1", method("JF01", "现金", link("Account", "9999", "无", "")), {},
     "10,JF01,现金,-1,1,S1,1", {}},
    {"with CheckByUUID an account is found by UUID, else by number and name",
     method("JF01", "现金", link("Account", "1001", "库存现金", "A9")), byUUID, "10,JF01,现金,1,1,S1,1", {}},
    {"an account's UUID wins over its number and name",
     method("JF01", "现金", link("Account", "1001", "库存现金", "A2")), byUUID, "10,JF01,现金,2,1,S1,1", {}},
};

class SettleImport : public StandaloneTest, public ::testing::WithParamInterface<SettleCase> {};

TEST_P(SettleImport, Branches) {
  const SettleCase& c = GetParam();
  std::string target = newAccountSet();
  exec(target, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (1, '1001', '库存现金', 'A1'), "
               "(2, '1002', '银行存款', 'A2')");
  exec(target, "INSERT INTO t_Settle (FItemID, FNumber, FName, FAcctID, FStatus, UUID) VALUES (10, 'JF01', '现金', 1, 1, 'S1')");
  importInto(target, "Quillane.clsSettle", "Settle", {c.record}, c.options);
  EXPECT_EQ(rows(target, "SELECT FItemID, FNumber, FName, FAcctID, FStatus, UUID, FSystemType FROM t_Settle ORDER BY FItemID"),
            c.rows);
  EXPECT_EQ(dataAccess.calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(Records, SettleImport, ::testing::ValuesIn(kCases));

TEST_F(StandaloneTest, ASettlementMethodExportsItsAccountWhenItHasOne) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (1, '1001', '库存现金', 'A1')");
  // In stamp order: an account, none, -1 from an import that found none, and an account that is gone.
  exec(source, "INSERT INTO t_Settle (FItemID, FNumber, FName, FAcctID, UUID) VALUES (1, 'JF01', '现金', 1, 'S1'), "
               "(2, 'JF02', '支票', 0, 'S2'), (3, 'JF03', '电汇', -1, 'S3'), (4, 'JF04', '汇票', 7, NULL)");
  ExportedPage page = ExportPage(CreateObject("Quillane.clsSettle"), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_TRUE(holds(page.xml, "<Settle><Name>现金</Name><Number>JF01</Number><Account><Number>1001</Number><Name>库存现金"
                              "</Name><UUID>A1</UUID></Account><UUID>S1</UUID></Settle>"))
      << page.xml;
  EXPECT_EQ(valuesOf(page.xml, "Settle", "Account").size(), 1u);
  EXPECT_TRUE(holds(page.xml, "<Settle><Name>汇票</Name><Number>JF04</Number><UUID/></Settle>")) << page.xml;
}

}  // namespace
}  // namespace quillane::testing
