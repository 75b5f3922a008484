// Every item type of the sample account set carried into an empty one, through its own class and
// through the facade, arrives with the same rows, parents, links, bar codes and detail columns.
#include <gtest/gtest.h>

#include <algorithm>

#include "accountset/accountset.h"
#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

constexpr const char* kSettleName = "SELECT FNumber FROM t_Settle WHERE FItemID = ";
constexpr const char* kAuxClassName = "SELECT FNumber FROM t_ItemClass WHERE FItemClassID = ";
constexpr const char* kUnitGroupName = "SELECT FName FROM t_UnitGroup WHERE FUnitGroupID = ";
constexpr const char* kUnitName = "SELECT FNumber FROM t_MeasureUnit WHERE FMeasureUnitID = ";
constexpr const char* kInspectionName = "SELECT FBillNo FROM ICQCScheme WHERE FInterID = ";
constexpr const char* kRoutingName = "SELECT FBillNo FROM t_Routing WHERE FInterID = ";
constexpr const char* kWorkTypeName = "SELECT FNumber FROM t_WorkType WHERE FInterID = ";
constexpr const char* kPlaceGroupName = "SELECT FNumber FROM t_StockPlaceGroup WHERE FSPGroupID = ";
constexpr const char* kPlaceName = "SELECT FNumber FROM t_StockPlace WHERE FSPID = ";
constexpr const char* kTeamTimeName = "SELECT FBillNo FROM t_IcTeamTime WHERE FID = ";
constexpr const char* kJobTypeName = "SELECT FName FROM t_JobType WHERE FInterID = ";

struct TypeCase {
  const char* name;
  const char* progID;
  std::int32_t lIO;
  std::int32_t lItemClassID;
  const char* table;
  std::vector<LinkColumn> links;
  const char* extra;    // a further query of what must arrive, or null
  const char* holds;    // a value the sample's rows must show, so the comparison is not of empty columns
  bool carriesDeleted;  // the record carries IsDelete
  std::vector<std::string> importOnly = {};  // columns no export writes
  std::vector<std::string> rewritten = {};   // text columns whose text is rewritten on the way
  // The item classes the target does not get beforehand besides the type's own.
  const char* alsoExcluded = "";
};

const TypeCase kTypes[] = {
    {"customer", "Quillane.clsCustomer", 5, 1, "t_Organization",
     {{"FStatus", kAssistName}, {"FRegionID", kAssistName}, {"FTrade", kAssistName}, {"FSaleMode", kAssistName},
      {"FCyID", kCurrencyName}, {"FSetID", kSettleName}, {"FARAccountID", kAccountName}, {"FPreAcctID", kAccountName},
      {"FDepartment", kItemName}, {"FEmployee", kItemName}, {"FDebtLevel", kAssistName},
      {"FPayTaxAcctID", kAccountName}, {"FTypeID", kAssistName}, {"FStockIDKeep", kItemName}, {"FSaleID", kAssistName},
      {"FOtherARAcctID", kAccountName}, {"FOtherAPAcctID", kAccountName}, {"FPreAPAcctID", kAccountName},
      {"FAPAccountID", kAccountName}},
     nullptr, "部门0001,职员0001", true, {"FLicence", "FPermit", "FCertify"}},
    {"cost object", "Quillane.clsCBCostObject", 14, 2001, "cbCostObj",
     {{"FCalculateType", kAssistName}, {"FStdProductID", kItemName}},
     "SELECT c.FNumber, m.FName, p.FQuotiety, p.FIsStand, p.FIsDeputy FROM cb_CostObj_Product p JOIN t_Item c ON "
     "c.FItemID = p.FCostObjID JOIN t_Item m ON m.FItemID = p.FProductID ORDER BY c.FNumber, m.FName",
     "分步法,物料0001", true},
    {"service", "Quillane.clsCBService", 17, 2002, "cbService",
     {{"FUnitID", kItemName}, {"FCostItemID", kItemName}, {"FDeptID", kItemName}}, nullptr, "千克,25.5,成本项目0001,2,4,部门0001",
     true},
    {"cost item", "Quillane.clsCBCostItem", 15, 2003, "cbCostItem",
     {{"FTypeID", kAssistName}, {"FCostPropertyID", kAssistName}, {"FCostControlID", kAssistName}}, nullptr,
     "直接材料,变动成本,可控", false},
    {"expense element", "Quillane.clsCBExpenseElement", 16, 2004, "cbExpense",
     {{"FCostItemID", kItemName}, {"FBaseAcctID", kAccountName}, {"FAssistAcctID", kAccountName},
      {"FMakeAcctID", kAccountName}, {"FAcctID", kAccountName}},
     nullptr, "成本项目0001,1001,1002,2202,1122", true},
    {"cash-flow item", "Quillane.clsCashFlowItem", 21, 9, "", {}, nullptr, "现金流量项目0001", true},
    // Cost objects are left out of the target: a material may not take the number of one. Its auxiliary
    // properties arrive as the properties of the same numbers and names.
    {"material", "Quillane.clsMaterial", 8, 4, "t_ICItem",
     {{"FTrack", kAssistName}, {"FAuxClassID", kAuxClassName}, {"FTypeID", kAssistName},
      {"FUnitGroupID", kUnitGroupName}, {"FAdminAcctID", kAccountName}, {"FErpClsID", kAssistName},
      {"FUnitID", kUnitName}, {"FCUUnitID", kUnitName}, {"FDefaultLoc", kItemName}, {"FSPID", kPlaceName},
      {"FSource", kItemName}, {"FUseState", kAssistName}, {"FOrderRector", kItemName},
      {"FInspectionLevel", kAssistName}, {"FInspectionProject", kInspectionName}, {"FIdentifier", kItemName},
      {"FAcctID", kAccountName}, {"FSaleAcctID", kAccountName}, {"FCostAcctID", kAccountName},
      {"FAPAcctID", kAccountName}, {"FGoodSpec", kAssistName}, {"FCostProject", kItemName},
      {"FPlanTrategy", kAssistName}, {"FOrderTrategy", kAssistName}, {"FDefaultRoutingID", kRoutingName},
      {"FDefaultWorkTypeID", kWorkTypeName}, {"FProductPrincipal", kItemName}, {"FMaund", kItemName},
      {"FCubicMeasure", kItemName}, {"FProChkMde", kAssistName}, {"FWWChkMde", kAssistName},
      {"FSOChkMde", kAssistName}, {"FWthDrwChkMde", kAssistName}, {"FStkChkMde", kAssistName},
      {"FOtherChkMde", kAssistName}, {"FPOHghPrcMnyType", kCurrencyName}, {"FSOLowPrcMnyType", kCurrencyName},
      {"FWWHghPrcMnyType", kCurrencyName}, {"FOrderUnitID", kUnitName}, {"FSaleUnitID", kUnitName},
      {"FStoreUnitID", kUnitName}, {"FProductUnitID", kUnitName}, {"FSecUnitID", kUnitName},
      {"Fplanner", kItemName}, {"FCheckCycUnit", kAssistName}},
     "SELECT m.FNumber, p.FNumber, p.FName FROM COM_ItemAuxProp a JOIN t_Item m ON m.FItemID = a.FItemID JOIN t_Item p "
     "ON p.FItemID = a.FAuxPropID ORDER BY m.FNumber, p.FNumber",
     "加权平均法,COLOR,WL0001,原材料,重量组,True,True,30,H0001,别名0001,13,备注0001,1002,True,外购,kg,kg,仓库0001,01,", true,
     {}, {"FModel"}, ", 2001"},
    {"employee", "Quillane.clsEmployee", 7, 3, "t_Emp",
     {{"FDepartmentID", kItemName}, {"FGender", kAssistName}, {"FDegree", kAssistName}, {"FDuty", kAssistName},
      {"FProfessionalGroup", kAssistName}, {"FEmpGroup", kAssistName}, {"FJobTypeID", kJobTypeName},
      {"FOtherArAcctID", kAccountName}, {"FOtherAPAcctID", kAccountName}, {"FPreApAcctID", kAccountName},
      {"FPreArAcctID", kAccountName}},
     nullptr, "部门0020,女", true},
    {"warehouse", "Quillane.clsStock", 9, 5, "t_Stock",
     {{"FTypeID", kAssistName}, {"FEmpID", kItemName}, {"FProperty", kAssistName}, {"FSPGroupID", kPlaceGroupName}},
     nullptr, "冷藏仓,职员0024", true},
    {"supplier", "Quillane.clsSupplier", 11, 8, "t_Supplier",
     {{"FStatus", kAssistName}, {"FRegionID", kAssistName}, {"FTrade", kAssistName}, {"FCyID", kCurrencyName},
      {"FSetID", kSettleName}, {"FDepartment", kItemName}, {"FEmployee", kItemName}, {"FAPAccountID", kAccountName},
      {"FPreAcctID", kAccountName}, {"FPayTaxAcctID", kAccountName}, {"FTypeID", kAssistName},
      {"FStockIDAssignee", kItemName}, {"FOtherARAcctID", kAccountName}, {"FOtherAPAcctID", kAccountName},
      {"FPreARAcctID", kAccountName}, {"FARAccountID", kAccountName}},
     nullptr, "一般纳税人,华东,制造业", true},
    {"branch", "Quillane.clsSubCompany", 12, 10, "t_SonCompany",
     {{"FTrade", kAssistName}, {"FRegionID", kAssistName}, {"FAcctModeID", kAssistName}, {"FOwnershipID", kAssistName},
      {"FAssetshipID", kAssistName}, {"FSuperDeptID", kAssistName}, {"FRetailStockID", kItemName},
      {"FProviderID", kItemName}, {"FClientID", kItemName}, {"FDepartmentID", kItemName}, {"FSuperiorID", kItemName},
      {"FCorProvider", kItemName}, {"FCorCustomer", kItemName}, {"FStockPlaceID", kPlaceName}},
     nullptr, "部门0006,分支机构组01", true},
    {"work centre", "Quillane.clsWorkCenter", 13, 14, "t_WorkCenter",
     {{"FDeptID", kItemName}, {"FTeamTimeID", kTeamTimeName}, {"FCapacityCalType", kAssistName}}, nullptr, "999,2,BC01",
     true},
    {"fee", "Quillane.clsFee", 18, 2014, "t_Fee", {{"FFeeType", kAssistName}}, nullptr, "差旅费,O'Neil 100%_测 次", true},
};

void PrintTo(const TypeCase& c, std::ostream* os) { *os << c.name; }

class ItemTypeRoundTrip : public ItemTypeTest, public ::testing::WithParamInterface<TypeCase> {
 protected:
  void SetUp() override {
    ItemTypeTest::SetUp();
    source = dir_.file("source.db");
    accountset::CreateSample(source, 30);
  }
  std::string newTarget(const std::string& name) {
    std::string target = newAccountSet(name);
    copyLinkTargets(source, target, std::to_string(GetParam().lItemClassID) + GetParam().alsoExcluded);
    return target;
  }
  // A type without IsDelete leaves the deleted mark behind: its comparison leaves it out.
  std::string arrived(const std::string& path) {
    const TypeCase& c = GetParam();
    std::string text = content(path, c.lItemClassID, c.table, c.links, c.carriesDeleted);
    return c.extra ? text + " | " + rows(path, c.extra) : text;
  }
  std::string source;
};

TEST_P(ItemTypeRoundTrip, ThroughItsOwnClass) {
  const TypeCase& c = GetParam();
  std::string target = newTarget("target.db");
  ObjectRef type = CreateObject(c.progID);
  Page page = exportPage(type, props(source));
  ASSERT_TRUE(page.ok) << page.error;
  Imported imported = importXml(CreateObject(c.progID), props(target), page.xml);
  ASSERT_TRUE(imported.ok) << imported.error;
  const std::string expected = arrived(source);
  EXPECT_NE(expected.find(c.holds), std::string::npos) << expected;
  EXPECT_EQ(arrived(target), expected);
}

TEST_P(ItemTypeRoundTrip, ThroughTheFacadeTwiceWithoutAddingRows) {
  const TypeCase& c = GetParam();
  std::string target = newTarget("target.db");
  Page page = exportByFacade(c.lIO, props(source));
  ASSERT_TRUE(page.ok) << page.error;
  for (int pass = 0; pass < 2; ++pass) {
    Imported imported = importByFacade(c.lIO, props(target), page.xml);
    ASSERT_TRUE(imported.ok) << imported.error;
  }
  EXPECT_EQ(arrived(target), arrived(source));
}

// The bulk-file road: the facade hands item types to the class exchange, which pages through the type's
// class on export and imports the file in batches.
TEST_P(ItemTypeRoundTrip, ThroughTheFacadesBulkFile) {
  const TypeCase& c = GetParam();
  std::string target = newTarget("target.db"), file = dir_.file("bulk.xml");
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  std::vector<Variant> exportArgs{props(source), c.lIO, file, std::int32_t{7}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("ExportPreIOToFile", exportArgs))) << CStr(exportArgs[6]);
  std::vector<Variant> importArgs{props(target), c.lIO, file, std::int32_t{7}, ""};
  ASSERT_TRUE(CBool(facade->Call("ImportPreIOFromFile", importArgs))) << CStr(importArgs[4]);
  EXPECT_EQ(arrived(target), arrived(source));
}

// What the round trips compare must be there to compare: the sample fills every column of the detail
// table on some row.
TEST_P(ItemTypeRoundTrip, TheSampleFillsEveryDetailColumn) {
  const TypeCase& c = GetParam();
  for (const std::string& column : columnsOf(source, c.table)) {
    if (std::find(c.importOnly.begin(), c.importOnly.end(), column) != c.importOnly.end()) continue;
    EXPECT_NE(rows(source, "SELECT COUNT(*) FROM " + std::string(c.table) + " WHERE IsNull(CAST(" + column +
                               " AS VARCHAR(255)), '') NOT IN ('', '0')"),
              "0")
        << column << " is empty on every row";
  }
}

TEST_P(ItemTypeRoundTrip, QuotesPercentSignsAndChineseTextArriveInEveryTextField) {
  const TypeCase& c = GetParam();
  const std::string odd = "O''Neil 100% 客_户";  // as SQL text: O'Neil 100% 客_户
  const std::string cls = std::to_string(c.lItemClassID);
  const std::string id = rows(source, "SELECT MIN(FItemID) FROM t_Item WHERE FItemClassID = " + cls + " AND FDetail = 1");
  exec(source, "UPDATE t_Item SET FNumber = '01." + odd + "', FName = '" + odd + "' WHERE FItemID = " + id);
  exec(source, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (" + cls + ", " + id + ", '" + odd +
                   "', '" + odd + "')");
  if (*c.table) {
    // The detail row's number and name are the item's.
    std::string set = "FNumber = '01." + odd + "', FShortNumber = '" + odd + "', FName = '" + odd + "'";
    for (const std::string& column : columnsOf(source, c.table, true))
      if (column != "FNumber" && column != "FShortNumber" && column != "FName" &&
          std::find(c.importOnly.begin(), c.importOnly.end(), column) == c.importOnly.end() &&
          std::find(c.rewritten.begin(), c.rewritten.end(), column) == c.rewritten.end())
        set += ", " + column + " = '" + odd + " " + column + "'";
    exec(source, std::string("UPDATE ") + c.table + " SET " + set + " WHERE FItemID = " + id);
  }
  std::string target = newTarget("target.db");
  Page page = exportPage(CreateObject(c.progID), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  Imported imported = importXml(CreateObject(c.progID), props(target), page.xml);
  ASSERT_TRUE(imported.ok) << imported.error;
  const std::string expected = arrived(source);
  EXPECT_NE(expected.find("O'Neil 100% 客_户"), std::string::npos) << expected;
  EXPECT_EQ(arrived(target), expected);
}

INSTANTIATE_TEST_SUITE_P(Types, ItemTypeRoundTrip, ::testing::ValuesIn(kTypes),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == ' ' || ch == '-') ch = '_';
                           return name;
                         });

}  // namespace
}  // namespace quillane::testing
