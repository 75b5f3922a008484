// A parent that is the record itself or one of its descendants fails the record with its line, on the
// item engine's road, the chart of accounts' and the stock places' alike; the tree stays a tree.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "facade_fixture.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lAccount = 1, lDepartment = 6, lStockPlace = 24;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string group(const std::string& number, const std::string& name, const std::string& parentNumber) {
  return element("Name", name) + element("Number", number) + "<Parent><Number>" + parentNumber + "</Number></Parent>" +
         element("Level", "1") + element("IsDetail", "0");
}
std::string accountUnder(const std::string& number, const std::string& name, const std::string& parentNumber) {
  return "<Account>" + element("Name", name) + element("Number", number) + "<Parent><Number>" + parentNumber +
         "</Number></Parent></Account>";
}
std::string accounts(const std::string& records) {
  return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\">" + records + "</Root>";
}

std::string placeUnder(const std::string& number, const std::string& name, const std::string& parentNumber) {
  return "<StockPlace>" + element("Name", name) + element("Number", number) + "<Parent><Number>" + parentNumber +
         "</Number><Name>" + name + "</Name></Parent></StockPlace>";
}
std::string places(const std::string& records) {
  return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"StockPlace\">" + records + "</Root>";
}

// The rows of a tree (RenderRows text "id,parent;id,parent...") from which a walk up the parents never
// reaches a root.
int rowsInCycles(const std::string& pairs) {
  std::map<std::string, std::string> parentOf;
  std::stringstream rowsText(pairs);
  for (std::string row; std::getline(rowsText, row, ';');) {
    const std::size_t comma = row.find(',');
    parentOf[row.substr(0, comma)] = row.substr(comma + 1);
  }
  int inCycles = 0;
  for (const auto& [id, parent] : parentOf) {
    std::string at = id;
    std::size_t steps = 0;
    while (at != "0" && parentOf.count(at) && steps++ <= parentOf.size()) at = parentOf[at];
    if (steps > parentOf.size()) ++inCycles;
  }
  return inCycles;
}

class ParentCycle : public FacadeTest {};

TEST_F(ParentCycle, AParentThatIsTheRecordOrItsDescendantFailsTheRecord) {
  struct Case {
    const char* what;
    std::int32_t lIO;
    std::string document;
    std::int32_t failed;
  };
  const Case cases[] = {
      {"a department under itself", lDepartment, document({group("01", "部门组01", "01")}), 1},
      {"a department under its own child", lDepartment, document({group("01", "部门组01", "01.0001")}), 1},
      {"two departments under each other", lDepartment, document({group("A", "甲", "B"), group("B", "乙", "A")}), 1},
      {"an account under itself", lAccount, accounts(accountUnder("1002", "银行存款", "1002")), 1},
      {"an account under its own sub-account", lAccount, accounts(accountUnder("1002", "银行存款", "1002.01")), 1},
      {"two accounts under each other", lAccount,
       accounts(accountUnder("3001", "甲", "3002") + accountUnder("3002", "乙", "3001")), 1},
      {"a stock place under itself", lStockPlace, places(placeUnder("S1", "甲", "S1")), 1},
      {"two stock places under each other", lStockPlace, places(placeUnder("SA", "甲", "SB") + placeUnder("SB", "乙", "SA")),
       1},
  };
  for (const Case& c : cases) {
    const std::string target = dir_.file(std::string("target-") + std::to_string(&c - cases) + ".db");
    accountset::CreateSample(target, 2);
    facade->Let("ErrorCount", std::int32_t{0});
    Imported imported = facadeImport(c.lIO, c.document, props(target));
    EXPECT_FALSE(imported.ok) << c.what;
    EXPECT_EQ(errorCount(), c.failed) << c.what << "\n" << imported.error;
    EXPECT_TRUE(holds(imported.error, "上级不能是记录自身或它的下级:")) << c.what << "\n" << imported.error;
    EXPECT_EQ(rowsInCycles(rows(target, "SELECT FItemID, FParentID FROM t_Item")), 0) << c.what;
    EXPECT_EQ(rowsInCycles(rows(target, "SELECT FAccountID, FParentID FROM t_Account")), 0) << c.what;
    EXPECT_EQ(rowsInCycles(rows(target, "SELECT FSPID, FParentID FROM t_StockPlace")), 0) << c.what;
  }
}

}  // namespace
}  // namespace quillane::testing
