// What the cost-accounting types carry beyond a plain round trip: the cost object's standard product
// behind its service pack, and item links that find the record of their number and name before one
// that only shares the name.
#include <gtest/gtest.h>

#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

class CostTypesTest : public ItemTypeTest {
 protected:
  void SetUp() override {
    ItemTypeTest::SetUp();
    path = newAccountSet();
  }
  void useServicePack(const std::string& version) {
    exec(path, "UPDATE t_SystemProfile SET FValue = '" + version + "' WHERE FKey = 'ServicePack'");
  }
  std::string path;
};

TEST_F(CostTypesTest, TheStandardProductTravelsFromServicePack2007OnInBothDirections) {
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (10, 2001, 'C01', '成本一', 'U-C01'), "
             "(20, 4, 'M01', '螺丝', 'U-M01'), (21, 4, 'M02', '螺母', 'U-M02')");
  exec(path, "INSERT INTO cbCostObj (FItemID, FNumber, FName, FStdProductID) VALUES (10, 'C01', '成本一', 20)");
  const std::string withProduct = document("CostObject", {keys("C01", "成本一") + link("StdProduct", "M02", "螺母")});
  for (const auto& [servicePack, travels] : {std::pair{"2.0.0.6", false}, std::pair{"2.0.0.7", true}}) {
    SCOPED_TRACE(servicePack);
    useServicePack(servicePack);
    exec(path, "UPDATE cbCostObj SET FStdProductID = 20");
    Page page = exportPage(CreateObject("Quillane.clsCBCostObject"), props(path));
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_EQ(page.xml.find("<StdProduct>") != std::string::npos, travels) << page.xml;
    Imported imported = importXml(CreateObject("Quillane.clsCBCostObject"), props(path), withProduct);
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(rows(path, "SELECT FStdProductID FROM cbCostObj WHERE FItemID = 10"), travels ? "21" : "20");
  }
}

TEST_F(CostTypesTest, AnItemLinkTakesTheRecordOfItsNumberAndNameBeforeOneOfItsNameAlone) {
  // A customer named like the cost item, older than it: the lookup by name alone would find it first.
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (5, 1, 'K07', '直接材料', 'U-K07'), "
             "(6, 2003, 'CI01', '直接材料', 'U-CI01')");
  ObjectRef expenses = CreateObject("Quillane.clsCBExpenseElement");
  struct Case {
    const char* number;
    const char* linked;  // FCostItemID afterwards
  };
  // Only a link whose number matches nothing falls back on the name, in the whole item table.
  for (const Case& c : {Case{"CI01", "6"}, Case{"K07", "5"}, Case{"X99", "5"}}) {
    Imported imported = importXml(expenses, props(path),
                                  document("ExpenseElement", {keys("E01", "材料费") + link("CostItem", c.number, "直接材料")}));
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(rows(path, "SELECT d.FCostItemID FROM cbExpense d JOIN t_Item i ON i.FItemID = d.FItemID WHERE i.FNumber = 'E01'"),
              c.linked)
        << c.number;
  }
}

}  // namespace
}  // namespace quillane::testing
