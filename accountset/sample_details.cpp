#include "accountset/sample_details.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/sql/database.h"

namespace quillane::accountset {
namespace {

// Each value is an SQLite expression over the detail row being filled. Values vary with the row's
// FItemID, so that a sample holds empty, zero and Null columns beside filled ones and links to
// different records, and stays the same for the same size.

// Links choose one of the rows of a set by the detail row's FItemID. Each set is numbered once into a
// temporary table keyed by its row number, so that a row's choice is one lookup: numbering the set again
// for every row made a sample of N records per class cost N squared.
class Picks {
 public:
  explicit Picks(sql::Database& db) : db_(db) {}
  Picks(const Picks&) = delete;
  Picks& operator=(const Picks&) = delete;
  ~Picks() {
    for (const auto& [from, name] : tables_) db_.tryExec("DROP TABLE temp." + name);
  }

  // One of the rows that `from` selects, chosen by the detail row's FItemID; 0 (no link) when there are none.
  std::string pick(const std::string& table, const std::string& id, const std::string& from) {
    auto [entry, isNew] = tables_.try_emplace(from, "sample_pick_" + std::to_string(tables_.size()));
    const std::string& name = entry->second;
    if (isNew)
      db_.execScript("CREATE TEMP TABLE " + name + " (n INTEGER PRIMARY KEY, id INTEGER); INSERT INTO temp." + name +
                     " SELECT row_number() OVER (ORDER BY " + id + ") - 1, " + id + " FROM " + from);
    return "IFNULL((SELECT id FROM temp." + name + " WHERE n = " + table + ".FItemID % (SELECT count(*) FROM temp." +
           name + ")), 0)";
  }
  // A detail item of an item class, which a link of kind Item (or vwAssigneeStock) can find.
  std::string item(const std::string& table, int itemClassID) {
    return pick(table, "FItemID",
                "t_Item WHERE FItemClassID = " + std::to_string(itemClassID) + " AND FDetail = 1 AND FDeleted = 0");
  }
  // An entry of the auxiliary data of one type (see the types in sample.cpp).
  std::string assist(const std::string& table, int typeID) {
    return pick(table, "FInterID", "t_SubMessage WHERE FTypeID = " + std::to_string(typeID));
  }
  std::string account(const std::string& table) { return pick(table, "FAccountID", "t_Account"); }

 private:
  sql::Database& db_;
  std::map<std::string, std::string> tables_;  // the set's FROM text -> its numbered table
};

// The link on most rows; 0 (no link) on every fifth. A link column never holds Null: the ERP writes 0
// for no link, and an import that meets no link leaves the 0 its new detail row starts with.
std::string mostly(const std::string& table, const std::string& value) {
  return "CASE " + table + ".FItemID % 5 WHEN 0 THEN 0 ELSE " + value + " END";
}
// A text on most rows; Null on every fourth, the empty text on the next, and on the one after a text
// that SQL and LIKE treat specially (an apostrophe, a percent sign, an underscore) with Chinese in it.
std::string text(const std::string& table, const std::string& value) {
  return "CASE " + table + ".FItemID % 4 WHEN 0 THEN NULL WHEN 1 THEN '' WHEN 2 THEN 'O''Neil 100%_测 ' || " + value +
         " ELSE " + value + " END";
}
// A day counted from base by the row, Null on every third row.
std::string date(const std::string& table, const char* base, int span) {
  return "CASE " + table + ".FItemID % 3 WHEN 0 THEN NULL ELSE date('" + base + "', '+' || (" + table +
         ".FItemID * 37 % " + std::to_string(span) + ") || ' days') END";
}

// The auxiliary-data types of the sample's entries (sample.cpp) that these columns pick from.
enum AssistType {
  kTaxpayer = 1,
  kRegion = 3,
  kTrade = 4,
  kGender = 30,
  kDegree,
  kDuty,
  kStockType,
  kFeeType,
  kCapacityType,
};

// Customers, the cost types and materials: whole statements, values that vary with the row and links to the link
// targets and to items of other classes, whichever of them exist (0 where none does).
constexpr const char* kStatements[] = {
    "UPDATE t_Organization SET FShortName = FName || '简称', FHelpCode = 'KH' || FShortNumber, "
    "FAddress = '上海市浦东新区' || FShortNumber || '号', FContact = '联系人' || FShortNumber, "
    "FPhone = '021-5000' || FShortNumber, FFax = '021-6000' || FShortNumber, FPostalCode = '200120', "
    "FEmail = 'c' || FShortNumber || '@example.com', FBank = '工商银行', FAccount = '6222' || FShortNumber, "
    "FTaxNum = '91310000' || FShortNumber, FCity = '上海', FProvince = '上海', FCountry = '中国', "
    "FHomePage = 'www.example.com', FCorperate = '法人' || FShortNumber, FCIQNumber = 'CIQ' || FShortNumber, "
    "FFavorPolicy = '九五折', FLastTradeDate = date('2007-01-01', '+' || (FItemID % 300) || ' days'), "
    "FLastTradeAmount = (FItemID % 97) * 1000.5, FLastReceiveDate = date('2007-02-01', '+' || (FItemID % 200) || ' days'), "
    "FLastRPAmount = (FItemID % 89) * 100.25, FMaxDealAmount = 500000, FMinForeReceiveRate = 0.1, "
    "FMinReserverate = 0.05, FLicAndPermit = FItemID % 2, FPaperPeriod = date('2008-01-01', '+' || (FItemID % 100) || ' days'), "
    "FAlarmPeriod = date('2007-12-01', '+' || (FItemID % 100) || ' days'), FIsCreditMgr = (FItemID % 3 = 0), "
    "FCarryingAOS = FItemID % 30, FValueAddRate = CASE FItemID % 2 WHEN 0 THEN 17 ELSE 13 END, "
    "FStatus = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 2), "
    "FRegionID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 3), "
    "FTrade = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 4), "
    "FSaleMode = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 5), "
    "FDebtLevel = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 6), "
    "FTypeID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 7), "
    "FSaleID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 8), "
    "FCyID = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = CASE FItemID % 2 WHEN 0 THEN 'RMB' ELSE 'USD' END), "
    "FSetID = (SELECT FItemID FROM t_Settle ORDER BY FItemID LIMIT 1), "
    "FARAccountID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1122'), "
    "FPreAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1002'), "
    "FPayTaxAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1001'), "
    "FOtherARAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1122'), "
    "FOtherAPAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
    "FPreAPAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1002'), "
    "FAPAccountID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
    "FDepartment = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2 AND FDetail = 1 AND FDeleted = 0 "
    "AND FShortNumber = t_Organization.FShortNumber), 0), "
    "FEmployee = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FDetail = 1 AND FDeleted = 0 "
    "AND FShortNumber = t_Organization.FShortNumber), 0), "
    "FStockIDKeep = IFNULL((SELECT FItemID FROM vwKeepStock ORDER BY FItemID LIMIT 1), 0)",

    "UPDATE cbCostObj SET FCalculateType = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 20), "
    "FStdProductID = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 4 AND FDetail = 1 "
    "AND FShortNumber = cbCostObj.FShortNumber), 0)",
    // Each cost object makes the material of its own number, every third one a second at half the quotient.
    "INSERT INTO cb_CostObj_Product (FCostObjID, FProductID, FQuotiety, FIsStand, FIsDeputy) "
    "SELECT c.FItemID, m.FItemID, 1, 1, 0 FROM cbCostObj c CROSS JOIN t_Item m ON m.FItemClassID = 4 AND m.FDetail = 1 "
    "AND m.FShortNumber = c.FShortNumber ORDER BY m.FItemID, c.FItemID",
    "INSERT INTO cb_CostObj_Product (FCostObjID, FProductID, FQuotiety, FIsStand, FIsDeputy) "
    "SELECT c.FItemID, m.FItemID, 0.5, 0, 1 FROM cbCostObj c JOIN (SELECT FItemID, FShortNumber FROM t_Item WHERE "
    "FItemID = (SELECT MIN(FItemID) FROM t_Item WHERE FItemClassID = 4 AND FDetail = 1)) m "
    "WHERE c.FItemID % 3 = 0 AND c.FShortNumber <> m.FShortNumber ORDER BY c.FItemID",

    "UPDATE cbCostItem SET FTypeID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 21), "
    "FCostPropertyID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 22), "
    "FCostControlID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 23)",

    "UPDATE cbExpense SET FCostItemID = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2003 AND FDetail = 1 "
    "AND FShortNumber = cbExpense.FShortNumber), 0), "
    "FBaseAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1001'), "
    "FAssistAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1002'), "
    "FMakeAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
    "FAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1122')",

    "UPDATE cbService SET FUnitID = (SELECT FItemID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
    "FPrice = 10 + (FItemID % 50) * 0.5, FQtyDecimal = 2, FPriceDecimal = 4, "
    "FCostItemID = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2003 AND FDetail = 1 "
    "AND FShortNumber = cbService.FShortNumber), 0), "
    "FDeptID = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2 AND FDetail = 1 AND FDeleted = 0 "
    "ORDER BY FItemID LIMIT 1), 0)",

    // Materials: every column, links to the records above and to the items of their own short number.
    "UPDATE t_ICItem SET FModel = 'M-' || FShortNumber, "
    "FTrack = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 40 AND FID = CASE FItemID % 5 WHEN 0 THEN 'F002' "
    "ELSE 'F001' END), "
    "FAuxClassID = IFNULL((SELECT MIN(FItemClassID) FROM t_ItemClass WHERE FType = 3), 0), "
    "FHelpCode = 'WL' || FShortNumber, FTypeID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 49), "
    "FUnitGroupID = (SELECT MIN(FUnitGroupID) FROM t_UnitGroup), FIsSpecialTax = FItemID % 2, FStockTime = 1, "
    "FBeforeExpire = 30, FApproveNo = 'H' || FShortNumber, FAlias = '别名' || FShortNumber, FTaxRate = 13, "
    "FNote = '备注' || FShortNumber, FAdminAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1002'), "
    "FBookPlan = 1, "
    "FErpClsID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 42 AND FID = CASE FItemID % 2 WHEN 0 THEN '02' "
    "ELSE '01' END), "
    "FUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
    "FCUUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
    "FDefaultLoc = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 5 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FSPID = (SELECT MIN(FSPID) FROM t_StockPlace), "
    "FSource = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 8 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FQtyDecimal = 2, FLowLimit = 10, FHighLimit = 1000, FSecInv = 20, "
    "FUseState = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 41), "
    "FOrderRector = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FPOHighPrice = 99.5, FIsSale = 1, FSalePrice = 120.25, "
    "FInspectionLevel = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 43), "
    "FInspectionProject = (SELECT MIN(FInterID) FROM ICQCScheme), "
    "FIdentifier = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FBatchManager = (FItemID % 3 = 0), FISKFPeriod = 1, FKFPeriod = 365, FPlanPrice = 88.8, FStandardCost = 80, "
    "FPriceDecimal = 4, FAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1001'), "
    "FSaleAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1122'), "
    "FCostAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
    "FAPAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
    "FGoodSpec = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 46), "
    "FCostProject = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2003 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FStandardManHour = 1.5, FPlanTrategy = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 44), "
    "FOrderTrategy = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 45), FLeadTime = 3, FTotalTQQ = 7, "
    "FOrderInterVal = 30, FQtyMin = 1, FQtyMax = 500, FBatchAppendQty = 10, FOrderPoint = 50, FBatFixEconomy = FItemID % 2, "
    "FRequirePoint = 5, FPlanPoint = 2, FDefaultRoutingID = (SELECT MIN(FInterID) FROM t_Routing), "
    "FDefaultWorkTypeID = (SELECT MIN(FInterID) FROM t_WorkType), "
    "FProductPrincipal = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FChartNumber = 'TH-' || FShortNumber, FIsKeyItem = (FItemID % 4 = 0), FGrossWeight = 2.5, FNetWeight = 2.25, "
    "FMaund = (SELECT FItemID FROM t_MeasureUnit WHERE FNumber = 'kg'), FLength = 10, FWidth = 20, FHeight = 30, "
    "FSize = 6000, FCubicMeasure = (SELECT FItemID FROM t_MeasureUnit WHERE FNumber = 'g'), FDailyConsume = 12.5, "
    "FMRPCon = 1, FFullName = FName || '全称', "
    "FProChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), "
    "FWWChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), "
    "FSOChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), "
    "FWthDrwChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), "
    "FStkChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), "
    "FOtherChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 48), FStkChkPrd = 90, FStkChkAlrm = 7, "
    "FPOHghPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'RMB'), "
    "FSOLowPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'USD'), "
    "FWWHghPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'RMB'), FSOLowPrc = 100, FWWHghPrc = 110, "
    "FIsEquipment = (FItemID % 3 = 1), FEquipmentNum = 'EQ' || FShortNumber, FIsSparePart = (FItemID % 4 = 1), FIsSNManage = FItemID % 2, "
    "FVersion = 'V1.' || (FItemID % 9), FFixLeadTime = 1, FBatChangeEconomy = 2, FStdPayRate = 3.5, FChgFeeRate = 4.5, "
    "FStdFixFeeRate = 5.5, FOutMachFee = 6.5, FProfitRate = 0.2, "
    "FOrderUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'g'), "
    "FSaleUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
    "FStoreUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
    "FProductUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'g'), FOrderPrice = 9.9, "
    "FSecUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'g'), FSecUnitDecimal = 2, "
    "FSecCoefficient = 1000, FInHighLimit = 5, FInLowLimit = 1, FPutInteger = FItemID % 2, FPieceRate = 0.5, "
    "Fplanner = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
    "FLastCheckDate = date('2008-03-01', '+' || (FItemID % 60) || ' days'), FCheckCycle = 30, "
    "FCheckCycUnit = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 47), FDaysPer = 7, FOIHighLimit = 10, "
    "FOILowLimit = 2, FSOHighLimit = 10, FSOLowLimit = 2",
    // Each material has the first two properties of its class of auxiliary properties.
    // The details of every class are numbered once: a subquery per pair of material and item took minutes.
    "INSERT INTO COM_ItemAuxProp (FItemID, FAuxPropID) SELECT m.FItemID, p.FItemID FROM t_ICItem m JOIN (SELECT "
    "FItemClassID, FItemID, row_number() OVER (PARTITION BY FItemClassID ORDER BY FItemID) AS n FROM t_Item WHERE "
    "FDetail = 1) p ON p.FItemClassID = m.FAuxClassID AND p.n <= 2 ORDER BY m.FItemID, p.FItemID",
};

// Employees, warehouses, suppliers, branches, work centres and fees: each column's value.
struct DetailSample {
  std::string table;
  std::vector<std::pair<const char*, std::string>> values;
};

std::vector<DetailSample> detailSamples(Picks& picks) {
  auto pick = [&](const std::string& table, const std::string& id, const std::string& from) {
    return picks.pick(table, id, from);
  };
  auto item = [&](const std::string& table, int itemClassID) { return picks.item(table, itemClassID); };
  auto assist = [&](const std::string& table, int typeID) { return picks.assist(table, typeID); };
  auto account = [&](const std::string& table) { return picks.account(table); };
  const std::string e = "t_Emp", s = "t_Stock", p = "t_Supplier", b = "t_SonCompany", w = "t_WorkCenter", f = "t_Fee";
  return {
      {e,
       {{"FDepartmentID", mostly(e, item(e, 2))},
        {"FGender", assist(e, kGender)},
        {"FBirthday", date(e, "1960-01-01", 14000)},
        {"FDegree", mostly(e, assist(e, kDegree))},
        {"FPhone", text(e, "'139' || printf('%08d', t_Emp.FItemID)")},
        {"FID", text(e, "'3101' || printf('%014d', t_Emp.FItemID * 7919)")},
        {"FDuty", mostly(e, assist(e, kDuty))},
        {"FHireDate", date(e, "2000-01-01", 7000)},
        {"FLeaveDate", "CASE t_Emp.FItemID % 7 WHEN 3 THEN '2023-06-30' END"},
        {"FBankAccount", text(e, "'6222' || printf('%012d', t_Emp.FItemID)")},
        {"FAddress", text(e, "'上海市浦东新区' || t_Emp.FName || '路'")},
        {"FEmail", text(e, "'emp' || t_Emp.FItemID || '@example.com'")},
        {"FNote", text(e, "t_Emp.FName || '的备注'")},
        {"FProfessionalGroup", mostly(e, assist(e, kDuty))},
        {"FEmpGroup", mostly(e, assist(e, kDegree))},
        {"FIsCreditMgr", "t_Emp.FItemID % 2"},
        {"FAllotPercent", "(t_Emp.FItemID % 8) * 12.5"},
        {"FJobTypeID", mostly(e, pick(e, "FInterID", "t_JobType"))},
        {"FOtherArAcctID", mostly(e, account(e))},
        {"FOtherAPAcctID", account(e)},
        {"FPreApAcctID", mostly(e, account(e))},
        {"FPreArAcctID", account(e)}}},
      {s,
       {{"FTypeID", mostly(s, assist(s, kStockType))},
        {"FEmpID", mostly(s, item(s, 3))},
        {"FAddress", text(s, "'嘉定区' || t_Stock.FName || '路'")},
        {"FPhone", text(s, "'021-' || printf('%08d', t_Stock.FItemID)")},
        {"FProperty", assist(s, kStockType)},
        {"FMRPAvail", "t_Stock.FItemID % 2"},
        {"FIsStockMgr", "(t_Stock.FItemID + 1) % 2"},
        {"FSPGroupID", mostly(s, pick(s, "FSPGroupID", "t_StockPlaceGroup"))}}},
      {p,
       {{"FShortName", text(p, "t_Supplier.FName || '简称'")},
        {"FAddress", text(p, "'苏州工业园区' || t_Supplier.FName || '街'")},
        {"FStatus", mostly(p, assist(p, kTaxpayer))},
        {"FRegionID", assist(p, kRegion)},
        {"FTrade", mostly(p, assist(p, kTrade))},
        {"FContact", text(p, "'联系人' || t_Supplier.FItemID")},
        {"FPhone", text(p, "'0512-' || printf('%08d', t_Supplier.FItemID)")},
        {"FPostalCode", text(p, "'2150' || printf('%02d', t_Supplier.FItemID % 100)")},
        {"FEmail", text(p, "'sales' || t_Supplier.FItemID || '@example.com'")},
        {"FFax", text(p, "'0512-' || printf('%08d', t_Supplier.FItemID + 1)")},
        {"FCyID", mostly(p, pick(p, "FCurrencyID", "t_Currency"))},
        {"FSetID", pick(p, "FItemID", "t_Settle")},
        {"FBank", text(p, "'工商银行' || t_Supplier.FName || '支行'")},
        {"FAccount", text(p, "'6222' || printf('%012d', t_Supplier.FItemID * 3)")},
        {"FTaxNum", text(p, "'91320500' || printf('%010d', t_Supplier.FItemID)")},
        {"FProvince", text(p, "'江苏'")},
        {"FCountry", text(p, "'中国'")},
        {"FDepartment", mostly(p, item(p, 2))},
        {"FEmployee", mostly(p, item(p, 3))},
        {"FCorperate", text(p, "'法人' || t_Supplier.FItemID")},
        {"FAPAccountID", account(p)},
        {"FPreAcctID", mostly(p, account(p))},
        {"FFavorPolicy", text(p, "'满万减百'")},
        {"FLastTradeDate", date(p, "2020-01-01", 1500)},
        {"FLastTradeAmount", "CASE t_Supplier.FItemID % 3 WHEN 0 THEN NULL ELSE t_Supplier.FItemID * 100.25 END"},
        {"FLastReceiveDate", date(p, "2021-01-01", 1000)},
        {"FLastRPAmount", "t_Supplier.FItemID * 10.5"},
        {"FMaxDealAmount", "100000"},
        {"FMinForeReceiveRate", "(t_Supplier.FItemID % 4) * 2.5"},
        {"FPayTaxAcctID", mostly(p, account(p))},
        {"FCreditDays", "30 * (t_Supplier.FItemID % 4)"},
        {"FLicAndPermit", text(p, "'许可证' || t_Supplier.FItemID")},
        {"FLicence", text(p, "'营业执照' || t_Supplier.FItemID")},
        {"FTypeID", mostly(p, assist(p, kTrade))},
        {"FStockIDAssignee", mostly(p, item(p, 5))},
        {"FDiscount", "(t_Supplier.FItemID % 5) * 0.5"},
        {"FRegmark", text(p, "'注册' || t_Supplier.FItemID")},
        {"FBr", text(p, "'苏州分部'")},
        {"FPaperPeriod", date(p, "2024-01-01", 700)},
        {"FAlarmPeriod", date(p, "2024-06-01", 300)},
        {"FValueAddRate", "CASE t_Supplier.FItemID % 2 WHEN 0 THEN 13 ELSE 17 END"},
        {"FOtherARAcctID", mostly(p, account(p))},
        {"FOtherAPAcctID", account(p)},
        {"FPreARAcctID", mostly(p, account(p))},
        {"FARAccountID", account(p)}}},
      {b,
       {{"FInvestAmt", "CASE t_SonCompany.FItemID % 3 WHEN 0 THEN NULL WHEN 1 THEN 0 ELSE t_SonCompany.FItemID * 1000 END"},
        {"FInvestRate", "(t_SonCompany.FItemID % 10) * 10"},
        {"FBadDebtsRate", "0.5"},
        {"FBondInvestAmt", "t_SonCompany.FItemID * 250.75"},
        {"FTrade", mostly(b, assist(b, kTrade))},
        {"FRegionID", assist(b, kRegion)},
        {"FAcctModeID", mostly(b, assist(b, kTaxpayer))},
        {"FOwnershipID", assist(b, kTrade)},
        {"FAssetshipID", mostly(b, assist(b, kRegion))},
        {"FSuperDeptID", assist(b, kDuty)},
        {"FRetailStockID", mostly(b, item(b, 5))},
        {"FProviderID", mostly(b, item(b, 8))},
        {"FClientID", item(b, 1)},
        {"FDepartmentID", mostly(b, item(b, 2))},
        // The first group of branches, which an import of the class meets before any branch.
        {"FSuperiorID", mostly(b, "IFNULL((SELECT MIN(FItemID) FROM t_Item WHERE FItemClassID = 10 AND FDetail = 0), 0)")},
        {"FCorProvider", item(b, 8)},
        {"FCorCustomer", mostly(b, item(b, 1))},
        {"FStockPlaceID", mostly(b, pick(b, "FSPID", "t_StockPlace"))}}},
      {w,
       {{"FDeptID", mostly(w, item(w, 2))},
        {"FNote", text(w, "t_WorkCenter.FName || '的说明'")},
        {"FCalID", "999"},  // the calendar that every import sets
        {"Fkey", "t_WorkCenter.FItemID % 10"},
        {"FTeamTimeID", mostly(w, pick(w, "FID", "t_IcTeamTime"))},
        {"FWorkNumber", "t_WorkCenter.FItemID % 12"},
        {"FDeviceNum", "t_WorkCenter.FItemID % 7"},
        {"FPersonNum", "2 + t_WorkCenter.FItemID % 9"},
        {"FEfficiency", "90 + t_WorkCenter.FItemID % 10"},
        {"FUseingRate", "80.5"},
        {"FWorkCapacity", "t_WorkCenter.FItemID * 1.5"},
        {"FUnitCost", "t_WorkCenter.FItemID % 50 + 0.25"},
        {"FCapacityCalType", mostly(w, assist(w, kCapacityType))}}},
      {f,
       {{"FFeeType", mostly(f, assist(f, kFeeType))},
        {"FUnit", text(f, "'次'")},
        {"FRemark", text(f, "t_Fee.FName || '的说明'")}}},
  };
}

}  // namespace

void FillOwnColumns(sql::Database& db) {
  // The statements match a detail row to the items of its own short number: without an index each
  // match scans the class. The account set does not keep the index; the ERP has no such lookup.
  db.execScript("CREATE INDEX ix_sample_ShortNumber ON t_Item (FItemClassID, FShortNumber)");
  for (const char* statement : kStatements) db.run(statement);
  Picks picks(db);
  for (const DetailSample& sample : detailSamples(picks)) {
    std::string update = "UPDATE " + sample.table + " SET ";
    for (std::size_t i = 0; i < sample.values.size(); ++i)
      update += (i ? ", " : "") + std::string(sample.values[i].first) + " = " + sample.values[i].second;
    db.run(update);
  }
  db.execScript("DROP INDEX ix_sample_ShortNumber");
}

}  // namespace quillane::accountset
