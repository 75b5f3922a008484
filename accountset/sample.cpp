#include "accountset/sample.h"

#include <memory>
#include <string>
#include <vector>

#include "accountset/sample_rows.h"
#include "platform/automation/vbconv.h"
#include "platform/sql/database.h"

namespace quillane::accountset {
namespace {

// A few records of each kind that item fields link to, the same whatever the size.
void writeLinkTargets(sql::Database& db) {
  auto uuid = [](std::uint32_t table, int n) { return Variant(SampleUuid(0xA0000000u + table, static_cast<std::uint32_t>(n))); };
  InsertAll(db, "INSERT INTO t_Currency (FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, UUID) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
            {{Variant("RMB"), Variant("人民币"), Variant(1.0), Variant("*"), Variant(std::int16_t{2}),
              Variant(std::int16_t{1}), uuid(1, 1)},
             {Variant("USD"), Variant("美元"), Variant(7.1), Variant("*"), Variant(std::int16_t{2}),
              Variant(std::int16_t{0}), uuid(1, 2)},
             {Variant("JPY"), Variant("日元"), Variant(20.5), Variant("/"), Variant(std::int16_t{0}),
              Variant(std::int16_t{0}), uuid(1, 3)}});
  // Auxiliary data of several types: the classifications that customers, the cost types and materials
  // name.
  const char* assist[][3] = {{"1", "01", "一般纳税人"}, {"1", "02", "小规模纳税人"}, {"2", "01", "正常"},
                             {"3", "01", "华东"},       {"4", "01", "制造业"},       {"5", "01", "批发"},
                             {"6", "01", "一级"},       {"7", "01", "重点客户"},     {"8", "01", "销售一部"},
                             {"20", "01", "分步法"},    {"21", "01", "直接材料"},    {"22", "01", "变动成本"},
                             {"23", "01", "可控"},
                             // and those of materials: costing methods, use states, material classes...
                             {"30", "F001", "加权平均法"}, {"30", "F002", "分批认定法"}, {"31", "USE", "使用"},
                             {"32", "01", "外购"},      {"32", "02", "自制"},        {"33", "01", "免检"},
                             {"34", "01", "MRP"},       {"35", "01", "批对批"},      {"36", "01", "标准规格"},
                             {"37", "01", "天"},        {"38", "01", "抽检"},        {"39", "01", "原材料"}};
  std::vector<Row> assistRows;
  for (int a = 0; a < static_cast<int>(std::size(assist)); ++a)
    assistRows.push_back({Variant(CLng(Variant(assist[a][0]))), Variant(assist[a][1]), Variant(assist[a][2]), uuid(3, a + 1)});
  InsertAll(db, "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4)", assistRows);
  InsertAll(db, "INSERT INTO com_SysType (FName, UUID) VALUES (?1, ?2)", {{Variant("一般纳税人"), uuid(4, 1)}});

  // A unit group is an item of class 7 too, and so is each of its units.
  sql::Statement unitItem(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) "
                              "VALUES (7, ?1, ?2, ?3, ?4, ?5, ?6)");
  Variant group(Insert(db, unitItem, {Variant("重量组"), Variant("重量组"), Variant(std::int32_t{0}),
                                      Variant(std::int16_t{1}), Variant(false), uuid(6, 1)}));
  InsertAll(db, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, UUID) VALUES (?1, ?2, ?3)", {{group, Variant("重量组"), uuid(7, 1)}});
  sql::Statement unit(db, "INSERT INTO t_MeasureUnit (FItemID, FUnitGroupID, FNumber, FName, FShortNumber, FStandard, UUID) "
                          "VALUES (?1, ?2, ?3, ?4, ?3, ?5, ?6)");
  const char* units[][2] = {{"kg", "千克"}, {"g", "克"}};
  for (int u = 0; u < 2; ++u) {
    Variant item(Insert(db, unitItem, {Variant(units[u][0]), Variant(units[u][1]), group, Variant(std::int16_t{2}),
                                       Variant(true), uuid(6, u + 2)}));
    Insert(db, unit, {item, group, Variant(units[u][0]), Variant(units[u][1]), Variant(static_cast<std::int16_t>(u == 0)), uuid(8, u + 1)});
  }

  Variant placeGroup(InsertOne(db, "INSERT INTO t_StockPlaceGroup (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
                               {Variant("01"), Variant("货位组"), uuid(9, 1)}));
  InsertAll(db, "INSERT INTO t_StockPlace (FSPGroupID, FNumber, FName, FFullNumber, UUID) VALUES (?1, ?2, ?3, ?2, ?4)",
            {{placeGroup, Variant("01.01"), Variant("一号货位"), uuid(10, 1)}});
  InsertAll(db, "INSERT INTO ICQCScheme (FBillNo, FSchemeName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("QC001"), Variant("来料检验"), uuid(11, 1)}});
  InsertAll(db, "INSERT INTO t_Routing (FBillNo, FRoutingName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RT001"), Variant("标准工艺"), uuid(12, 1)}});
  InsertAll(db, "INSERT INTO t_WorkType (FNumber, FName) VALUES (?1, ?2)", {{Variant("01"), Variant("普通工种")}});
  InsertAll(db, "INSERT INTO t_JobType (FName) VALUES (?1)", {{Variant("装配")}});
  InsertAll(db, "INSERT INTO t_IcTeamTime (FBillNo, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("BC01"), Variant("白班"), uuid(13, 1)}});

  WriteChartOfAccounts(db);
  const std::int32_t cash = CLng(db.query("SELECT FAccountID FROM t_Account WHERE FNumber = '1001'").rows.at(0).at(0));
  const std::int32_t bank = CLng(db.query("SELECT FAccountID FROM t_Account WHERE FNumber = '1002.01'").rows.at(0).at(0));
  // Cash settles to the cash account, cheques and transfers to the bank; a draft names no account.
  InsertAll(db, "INSERT INTO t_Settle (FNumber, FName, FAcctID, UUID) VALUES (?1, ?2, ?3, ?4)",
            {{Variant("JF01"), Variant("现金"), Variant(cash), uuid(5, 1)},
             {Variant("JF02"), Variant("支票"), Variant(bank), uuid(5, 2)},
             {Variant("JF03"), Variant("电汇"), Variant(bank), uuid(5, 3)},
             {Variant("JF04"), Variant("商业汇票"), Variant(std::int32_t{0}), uuid(5, 4)}});
  // The usual voucher groups; 记 is the standard one, the others bound by the cash and bank accounts.
  InsertAll(db, "INSERT INTO t_VoucherGroup (FName, FDRange, FCRange, FNDRange, FNCRange, FStandard, FLimitMulti, UUID) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
            {{Variant("记"), Variant::null(), Variant::null(), Variant::null(), Variant::null(), Variant(std::int16_t{1}),
              Variant(std::int32_t{0}), uuid(14, 1)},
             {Variant("收"), Variant("1001,1002"), Variant::null(), Variant::null(), Variant::null(), Variant(std::int16_t{0}),
              Variant(std::int32_t{0}), uuid(14, 2)},
             {Variant("付"), Variant::null(), Variant("1001,1002"), Variant::null(), Variant::null(), Variant(std::int16_t{0}),
              Variant(std::int32_t{0}), uuid(14, 3)},
             {Variant("转"), Variant::null(), Variant::null(), Variant("1001,1002"), Variant("1001,1002"),
              Variant(std::int16_t{0}), Variant(std::int32_t{30}), uuid(14, 4)}});
}

// The own columns of the detail rows that their types fill: values that vary with the row, and links
// to the records above and to items of other classes, whichever of them exist (0 where none does).
void fillOwnColumns(sql::Database& db) {
  const char* statements[] = {
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
      "SELECT c.FItemID, m.FItemID, 1, 1, 0 FROM cbCostObj c JOIN t_Item m ON m.FItemClassID = 4 AND m.FDetail = 1 "
      "AND m.FShortNumber = c.FShortNumber",
      "INSERT INTO cb_CostObj_Product (FCostObjID, FProductID, FQuotiety, FIsStand, FIsDeputy) "
      "SELECT c.FItemID, m.FItemID, 0.5, 0, 1 FROM cbCostObj c JOIN t_Item m ON m.FItemClassID = 4 AND m.FDetail = 1 "
      "AND m.FItemID = (SELECT MIN(FItemID) FROM t_Item WHERE FItemClassID = 4 AND FDetail = 1) "
      "WHERE c.FItemID % 3 = 0 AND c.FShortNumber <> m.FShortNumber",

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
      "FTrack = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 30 AND FID = CASE FItemID % 5 WHEN 0 THEN 'F002' "
      "ELSE 'F001' END), "
      "FAuxClassID = IFNULL((SELECT MIN(FItemClassID) FROM t_ItemClass WHERE FType = 3), 0), "
      "FHelpCode = 'WL' || FShortNumber, FTypeID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 39), "
      "FUnitGroupID = (SELECT MIN(FUnitGroupID) FROM t_UnitGroup), FIsSpecialTax = FItemID % 2, FStockTime = 1, "
      "FBeforeExpire = 30, FApproveNo = 'H' || FShortNumber, FAlias = '别名' || FShortNumber, FTaxRate = 13, "
      "FNote = '备注' || FShortNumber, FAdminAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1002'), "
      "FBookPlan = 1, "
      "FErpClsID = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 32 AND FID = CASE FItemID % 2 WHEN 0 THEN '02' "
      "ELSE '01' END), "
      "FUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
      "FCUUnitID = (SELECT FMeasureUnitID FROM t_MeasureUnit WHERE FNumber = 'kg'), "
      "FDefaultLoc = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 5 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FSPID = (SELECT MIN(FSPID) FROM t_StockPlace), "
      "FSource = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 8 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FQtyDecimal = 2, FLowLimit = 10, FHighLimit = 1000, FSecInv = 20, "
      "FUseState = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 31), "
      "FOrderRector = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FPOHighPrice = 99.5, FIsSale = 1, FSalePrice = 120.25, "
      "FInspectionLevel = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 33), "
      "FInspectionProject = (SELECT MIN(FInterID) FROM ICQCScheme), "
      "FIdentifier = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FBatchManager = (FItemID % 3 = 0), FISKFPeriod = 1, FKFPeriod = 365, FPlanPrice = 88.8, FStandardCost = 80, "
      "FPriceDecimal = 4, FAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1001'), "
      "FSaleAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '1122'), "
      "FCostAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
      "FAPAcctID = (SELECT FAccountID FROM t_Account WHERE FNumber = '2202'), "
      "FGoodSpec = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 36), "
      "FCostProject = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 2003 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FStandardManHour = 1.5, FPlanTrategy = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 34), "
      "FOrderTrategy = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 35), FLeadTime = 3, FTotalTQQ = 7, "
      "FOrderInterVal = 30, FQtyMin = 1, FQtyMax = 500, FBatchAppendQty = 10, FOrderPoint = 50, FBatFixEconomy = 0, "
      "FRequirePoint = 5, FPlanPoint = 2, FDefaultRoutingID = (SELECT MIN(FInterID) FROM t_Routing), "
      "FDefaultWorkTypeID = (SELECT MIN(FInterID) FROM t_WorkType), "
      "FProductPrincipal = IFNULL((SELECT FItemID FROM t_Item WHERE FItemClassID = 3 AND FShortNumber = t_ICItem.FShortNumber), 0), "
      "FChartNumber = 'TH-' || FShortNumber, FIsKeyItem = (FItemID % 4 = 0), FGrossWeight = 2.5, FNetWeight = 2.25, "
      "FMaund = (SELECT FItemID FROM t_MeasureUnit WHERE FNumber = 'kg'), FLength = 10, FWidth = 20, FHeight = 30, "
      "FSize = 6000, FCubicMeasure = (SELECT FItemID FROM t_MeasureUnit WHERE FNumber = 'g'), FDailyConsume = 12.5, "
      "FMRPCon = 1, FFullName = FName || '全称', "
      "FProChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), "
      "FWWChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), "
      "FSOChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), "
      "FWthDrwChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), "
      "FStkChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), "
      "FOtherChkMde = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 38), FStkChkPrd = 90, FStkChkAlrm = 7, "
      "FPOHghPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'RMB'), "
      "FSOLowPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'USD'), "
      "FWWHghPrcMnyType = (SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'RMB'), FSOLowPrc = 100, FWWHghPrc = 110, "
      "FIsEquipment = 0, FEquipmentNum = 'EQ' || FShortNumber, FIsSparePart = 0, FIsSNManage = FItemID % 2, "
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
      "FCheckCycUnit = (SELECT FInterID FROM t_SubMessage WHERE FTypeID = 37), FDaysPer = 7, FOIHighLimit = 10, "
      "FOILowLimit = 2, FSOHighLimit = 10, FSOLowLimit = 2",
      // Each material has the first two properties of its class of auxiliary properties.
      "INSERT INTO COM_ItemAuxProp (FItemID, FAuxPropID) SELECT m.FItemID, p.FItemID FROM t_ICItem m JOIN t_Item p ON "
      "p.FItemClassID = m.FAuxClassID AND p.FDetail = 1 AND p.FItemID IN (SELECT FItemID FROM t_Item WHERE "
      "FItemClassID = m.FAuxClassID AND FDetail = 1 ORDER BY FItemID LIMIT 2) ORDER BY m.FItemID, p.FItemID",
  };
  for (const char* statement : statements) db.run(statement);
}

}  // namespace

void FillSample(sql::Database& db, std::int32_t itemsPerClass) {
  writeLinkTargets(db);
  // The classes of the exchange and their detail tables, as the account set lists them; units of
  // measure (7) are link targets above.
  sql::Rowset classes = db.query("SELECT FItemClassID, FName, FSQLTableName FROM t_ItemClass WHERE FItemClassID <> 7 ORDER BY FItemClassID");
  ItemWriter items(db);
  for (const Row& c : classes.rows) {
    const std::string detailTable = CStr(c[2]);
    std::unique_ptr<sql::Statement> detail;
    if (!detailTable.empty())
      detail = std::make_unique<sql::Statement>(
          db, "INSERT INTO " + sql::QuoteIdentifier(detailTable) +
                  " (FItemID, FParentID, FNumber, FName, FShortNumber) VALUES (?1, ?2, ?3, ?4, ?5)");
    items.write(CLng(c[0]), CStr(c[1]), itemsPerClass, [&](const DetailItem& d) {
      if (detail)
        Insert(db, *detail, {Variant(d.id), Variant(d.parent), Variant(d.number), Variant(d.name), Variant(d.shortNumber)});
    });
  }
  // The custom classes first: materials name one of them as their class of auxiliary properties.
  WriteSampleItemClasses(db, items, itemsPerClass);
  fillOwnColumns(db);
}

}  // namespace quillane::accountset
