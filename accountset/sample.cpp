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
  // Auxiliary data of several types: the classifications that customers and the cost types name.
  const char* assist[][3] = {{"1", "01", "一般纳税人"}, {"1", "02", "小规模纳税人"}, {"2", "01", "正常"},
                             {"3", "01", "华东"},       {"4", "01", "制造业"},       {"5", "01", "批发"},
                             {"6", "01", "一级"},       {"7", "01", "重点客户"},     {"8", "01", "销售一部"},
                             {"20", "01", "分步法"},    {"21", "01", "直接材料"},    {"22", "01", "变动成本"},
                             {"23", "01", "可控"}};
  std::vector<Row> assistRows;
  for (int a = 0; a < static_cast<int>(std::size(assist)); ++a)
    assistRows.push_back({Variant(CLng(Variant(assist[a][0]))), Variant(assist[a][1]), Variant(assist[a][2]), uuid(3, a + 1)});
  InsertAll(db, "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4)", assistRows);
  WriteSampleCommercialAssist(db);

  WriteSampleUnits(db);
  WriteSampleStockPlaces(db);
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
  fillOwnColumns(db);
  WriteSampleItemClasses(db, items, itemsPerClass);
  WriteSampleAssistTypes(db);
}

}  // namespace quillane::accountset
