#include "accountset/sample.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/vbconv.h"
#include "platform/sql/database.h"

namespace quillane::accountset {
namespace {

using Row = std::vector<Variant>;

// UUIDs that depend on their place in the sample only: a table's code and a running number.
std::string sampleUuid(std::uint32_t table, std::uint32_t n) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-0000-4000-8000-%012X", table, n);
  return text;
}

std::string format(const char* pattern, int value) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

std::int32_t insert(sql::Database& db, sql::Statement& stmt, const Row& row) {
  stmt.reset();
  stmt.bind(row);
  while (stmt.step()) {
  }
  return static_cast<std::int32_t>(sqlite3_last_insert_rowid(db.handle()));
}

void insertAll(sql::Database& db, const char* sqlText, const std::vector<Row>& rows) {
  sql::Statement stmt(db, sqlText);
  for (const Row& row : rows) insert(db, stmt, row);
}

// The items of one class: groups "01", "02"... and details "01.0001", "02.0002"... dealt out over
// them in turn; every 25th detail is marked deleted. Details get their detail-table row, materials a
// bar code each.
class ItemWriter {
 public:
  explicit ItemWriter(sql::Database& db)
      : db_(db),
        item_(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FFullNumber, "
                  "FShortNumber, FDeleted, UUID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?2, ?7, ?8, ?9)"),
        barCode_(db, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (?1, ?2, ?3, ?4)"),
        deleted_(db, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES ('t_Item', ?1, ?2)") {}

  void write(std::int32_t classId, const std::string& caption, const std::string& detailTable, std::int32_t count) {
    if (count <= 0) return;
    Variant cls(classId);
    auto uuid = [&](int n) { return Variant(sampleUuid(static_cast<std::uint32_t>(classId), static_cast<std::uint32_t>(n))); };
    int groups = 1 + count / 20;
    std::vector<std::int32_t> groupIds;
    for (int g = 1; g <= groups; ++g) {
      std::string number = format("%02d", g);
      groupIds.push_back(insert(db_, item_, {cls, Variant(number), Variant(caption + "组" + number), Variant(std::int32_t{0}),
                                             Variant(std::int16_t{1}), Variant(false), Variant(number),
                                             Variant(std::int16_t{0}), uuid(g)}));
    }
    std::unique_ptr<sql::Statement> detail;
    if (!detailTable.empty())
      detail = std::make_unique<sql::Statement>(
          db_, "INSERT INTO " + sql::QuoteIdentifier(detailTable) +
                   " (FItemID, FParentID, FNumber, FName, FShortNumber) VALUES (?1, ?2, ?3, ?4, ?5)");
    for (int k = 1; k <= count; ++k) {
      int g = (k - 1) % groups;
      std::string shortNumber = format("%04d", k);
      std::string number = format("%02d", g + 1) + "." + shortNumber;
      Variant name(caption + shortNumber), parent(groupIds[g]);
      std::int32_t id = insert(db_, item_, {cls, Variant(number), name, parent, Variant(std::int16_t{2}), Variant(true),
                                            Variant(shortNumber), Variant(static_cast<std::int16_t>(k % 25 == 0)),
                                            uuid(groups + k)});
      if (detail) insert(db_, *detail, {Variant(id), parent, Variant(number), name, Variant(shortNumber)});
      if (classId == 4)
        insert(db_, barCode_, {cls, Variant(id), Variant("69" + format("%010d", id)),
                               k % 2 ? Variant::null() : Variant("sample")});
    }
    for (int k = 1; k <= count / 10; ++k) insert(db_, deleted_, {cls, uuid(0x10000 + k)});
  }

 private:
  sql::Database& db_;
  sql::Statement item_, barCode_, deleted_;
};

// The UUID of a record that item fields link to: its table's code and a running number.
Variant linkTargetUuid(std::uint32_t table, int n) {
  return Variant(sampleUuid(0xA0000000u + table, static_cast<std::uint32_t>(n)));
}

// Auxiliary data of a commercial account set: entries under their classes, and one of the ERP's
// predefined entries, which is never exchanged.
void writeCommercialAssist(sql::Database& db) {
  const char* classes[] = {"纳税人类别", "客户分类", "系统类别"};
  std::vector<Row> classRows;
  for (int c = 0; c < 3; ++c) classRows.push_back({Variant(classes[c]), linkTargetUuid(14, c + 1)});
  insertAll(db, "INSERT INTO com_SysTypeClass (FTypeClassName, UUID) VALUES (?1, ?2)", classRows);
  struct Entry {
    std::int32_t classID;
    const char* number;
    const char* name;
    bool predefined;
  };
  const Entry entries[] = {{1, "01", "一般纳税人", false}, {1, "02", "小规模纳税人", false},
                           {2, "01", "批发客户", false},   {3, "01", "系统预设类型", true}};
  std::vector<Row> rows;
  for (int e = 0; e < 4; ++e)
    rows.push_back({Variant(entries[e].classID), Variant(entries[e].number), Variant(entries[e].name),
                    Variant(entries[e].predefined), linkTargetUuid(4, e + 1)});
  insertAll(db, "INSERT INTO com_SysType (FClassID, FNumber, FName, FPreDefined, UUID) VALUES (?1, ?2, ?3, ?4, ?5)", rows);
}

// Units of measure in two groups. A group and each of its units are items of class 7 as well, with the
// same ids and UUIDs; the first unit of a group is its standard unit.
void writeUnits(sql::Database& db) {
  struct Unit {
    const char* number;
    const char* name;
    double coefficient;
    const char* auxClass;  // null: none
    bool deleted;
  };
  struct Group {
    const char* name;
    Unit units[3];
  };
  const Group groups[] = {
      {"重量组", {{"kg", "千克", 1, nullptr, false}, {"g", "克", 0.001, nullptr, false}, {"t", "吨", 1000, "1", false}}},
      {"长度组", {{"m", "米", 1, "0", false}, {"cm", "厘米", 0.01, "0", false}, {"ft", "英尺", 0.3048, nullptr, true}}},
  };
  sql::Statement item(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) "
                          "VALUES (7, ?1, ?2, ?3, ?4, ?5, ?6)");
  sql::Statement group(db, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, FDefaultUnitID, UUID) VALUES (?1, ?2, 0, ?3)");
  sql::Statement standard(db, "UPDATE t_UnitGroup SET FDefaultUnitID = ?2 WHERE FUnitGroupID = ?1");
  sql::Statement unit(db, "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FParentID, FNumber, FName, "
                          "FShortNumber, FCoefficient, FAuxClass, FStandard, FDeleted, UUID) "
                          "VALUES (?1, ?1, ?2, ?2, ?3, ?4, ?3, ?5, ?6, ?7, ?8, ?9)");
  int units = 0;
  for (int g = 0; g < 2; ++g) {
    Variant groupUuid = linkTargetUuid(7, g + 1);
    Variant groupID(insert(db, item, {Variant(groups[g].name), Variant(groups[g].name), Variant(std::int32_t{0}),
                                      Variant(std::int16_t{1}), Variant(false), groupUuid}));
    insert(db, group, {groupID, Variant(groups[g].name), groupUuid});
    for (int u = 0; u < 3; ++u) {
      const Unit& one = groups[g].units[u];
      Variant unitUuid = linkTargetUuid(8, ++units);
      Variant unitID(insert(db, item, {Variant(one.number), Variant(one.name), groupID, Variant(std::int16_t{2}),
                                       Variant(true), unitUuid}));
      insert(db, unit, {unitID, groupID, Variant(one.number), Variant(one.name), Variant(one.coefficient),
                        one.auxClass ? Variant(one.auxClass) : Variant::null(), Variant(static_cast<std::int16_t>(u == 0)),
                        Variant(static_cast<std::int16_t>(one.deleted)), unitUuid});
      if (u == 0) insert(db, standard, {groupID, unitID});
    }
  }
}

// Stock places in two groups: a shelf with its places (one of them deleted, one its group's default
// place), and a place of its own in the second group.
void writeStockPlaces(sql::Database& db) {
  const char* groups[][2] = {{"01", "货位组A"}, {"02", "货位组B"}};
  std::vector<std::int32_t> groupIDs;
  sql::Statement group(db, "INSERT INTO t_StockPlaceGroup (FNumber, FName, UUID) VALUES (?1, ?2, ?3)");
  for (int g = 0; g < 2; ++g)
    groupIDs.push_back(insert(db, group, {Variant(groups[g][0]), Variant(groups[g][1]), linkTargetUuid(9, g + 1)}));
  struct Place {
    int group;
    const char* number;
    const char* shortNumber;
    const char* name;
    int parent;  // the place's index, or -1 for none
    std::int16_t level, detail;
    bool deleted, isDefault;
  };
  const Place places[] = {{0, "01", "01", "一号货架", -1, 1, 0, false, false},
                          {0, "01.01", "01", "一号货位", 0, 2, 1, false, true},
                          {0, "01.02", "02", "二号货位", 0, 2, 1, false, false},
                          {0, "01.03", "03", "三号货位", 0, 2, 1, true, false},
                          {1, "02.01", "01", "冷藏货位", -1, 1, 1, false, false}};
  sql::Statement place(db, "INSERT INTO t_StockPlace (FSPGroupID, FNumber, FShortNumber, FFullNumber, FName, FParentID, "
                           "FLevel, FDetail, FDeleted, UUID) VALUES (?1, ?2, ?3, ?2, ?4, ?5, ?6, ?7, ?8, ?9)");
  sql::Statement isDefault(db, "UPDATE t_StockPlaceGroup SET FDefaultSPID = ?2 WHERE FSPGroupID = ?1");
  std::vector<std::int32_t> ids;
  for (int p = 0; p < 5; ++p) {
    const Place& one = places[p];
    Variant groupID(groupIDs[one.group]);
    ids.push_back(insert(db, place, {groupID, Variant(one.number), Variant(one.shortNumber), Variant(one.name),
                                     Variant(one.parent < 0 ? 0 : ids[one.parent]), Variant(one.level),
                                     Variant(one.detail), Variant(static_cast<std::int16_t>(one.deleted)),
                                     linkTargetUuid(10, p + 1)}));
    if (one.isDefault) insert(db, isDefault, {groupID, Variant(ids.back())});
  }
}

// Every type of the industrial auxiliary data that the sample's entries name, and the entries under
// their types (FParentID), so that they are exchanged.
void writeAssistTypes(sql::Database& db) {
  db.run("INSERT INTO t_SubMesType (FTypeID, FName, FType, UUID) SELECT DISTINCT FTypeID, "
         "printf('辅助资料类型%02d', FTypeID), 1, printf('A000000F-0000-4000-8000-%012X', FTypeID) FROM t_SubMessage "
         "ORDER BY FTypeID");
  db.run("UPDATE t_SubMessage SET FParentID = FTypeID");
}

// A few records of each kind that item fields link to, the same whatever the size.
void writeLinkTargets(sql::Database& db) {
  auto uuid = linkTargetUuid;
  insertAll(db, "INSERT INTO t_Currency (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RMB"), Variant("人民币"), uuid(1, 1)}, {Variant("USD"), Variant("美元"), uuid(1, 2)}});
  insertAll(db, "INSERT INTO t_Account (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("1001"), Variant("库存现金"), uuid(2, 1)},
             {Variant("1002"), Variant("银行存款"), uuid(2, 2)},
             {Variant("1122"), Variant("应收账款"), uuid(2, 3)},
             {Variant("2202"), Variant("应付账款"), uuid(2, 4)}});
  // Auxiliary data of several types: the classifications that customers and the cost types name.
  const char* assist[][3] = {{"1", "01", "一般纳税人"}, {"1", "02", "小规模纳税人"}, {"2", "01", "正常"},
                             {"3", "01", "华东"},       {"4", "01", "制造业"},       {"5", "01", "批发"},
                             {"6", "01", "一级"},       {"7", "01", "重点客户"},     {"8", "01", "销售一部"},
                             {"20", "01", "分步法"},    {"21", "01", "直接材料"},    {"22", "01", "变动成本"},
                             {"23", "01", "可控"}};
  std::vector<Row> assistRows;
  for (int a = 0; a < static_cast<int>(std::size(assist)); ++a)
    assistRows.push_back({Variant(CLng(Variant(assist[a][0]))), Variant(assist[a][1]), Variant(assist[a][2]), uuid(3, a + 1)});
  insertAll(db, "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4)", assistRows);
  writeCommercialAssist(db);
  insertAll(db, "INSERT INTO t_Settle (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("JF01"), Variant("现金"), uuid(5, 1)}, {Variant("JF02"), Variant("支票"), uuid(5, 2)}});

  writeUnits(db);
  writeStockPlaces(db);
  insertAll(db, "INSERT INTO ICQCScheme (FBillNo, FSchemeName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("QC001"), Variant("来料检验"), uuid(11, 1)}});
  insertAll(db, "INSERT INTO t_Routing (FBillNo, FRoutingName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RT001"), Variant("标准工艺"), uuid(12, 1)}});
  insertAll(db, "INSERT INTO t_WorkType (FNumber, FName) VALUES (?1, ?2)", {{Variant("01"), Variant("普通工种")}});
  insertAll(db, "INSERT INTO t_JobType (FName) VALUES (?1)", {{Variant("装配")}});
  insertAll(db, "INSERT INTO t_IcTeamTime (FBillNo, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("BC01"), Variant("白班"), uuid(13, 1)}});
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
  for (const Row& c : classes.rows) items.write(CLng(c[0]), CStr(c[1]), CStr(c[2]), itemsPerClass);
  fillOwnColumns(db);
  writeAssistTypes(db);
}

}  // namespace quillane::accountset
