#include "accountset/sample.h"

#include <memory>
#include <string>
#include <vector>

#include "accountset/sample_details.h"
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
  // Auxiliary data of several types: the classifications that the detail rows name (see
  // sample_details.cpp for which type serves which column).
  const char* assist[][3] = {{"1", "01", "一般纳税人"}, {"1", "02", "小规模纳税人"}, {"2", "01", "正常"},
                             {"3", "01", "华东"},       {"4", "01", "制造业"},       {"5", "01", "批发"},
                             {"6", "01", "一级"},       {"7", "01", "重点客户"},     {"8", "01", "销售一部"},
                             {"20", "01", "分步法"},    {"21", "01", "直接材料"},    {"22", "01", "变动成本"},
                             {"23", "01", "可控"},      {"3", "02", "华北"},         {"4", "02", "零售业"},
                             {"30", "01", "男"},        {"30", "02", "女"},          {"31", "01", "本科"},
                             {"31", "02", "硕士"},      {"32", "01", "经理"},        {"32", "02", "专员"},
                             {"33", "01", "普通仓"},    {"33", "02", "冷藏仓"},      {"34", "01", "差旅费"},
                             {"34", "02", "办公费"},    {"35", "01", "按工时"},      {"35", "02", "按台时"},
                             // those of materials: costing methods, use states, material classes...
                             {"40", "F001", "加权平均法"}, {"40", "F002", "分批认定法"}, {"41", "USE", "使用"},
                             {"42", "01", "外购"},      {"42", "02", "自制"},        {"43", "01", "免检"},
                             {"44", "01", "MRP"},       {"45", "01", "批对批"},      {"46", "01", "标准规格"},
                             {"47", "01", "天"},        {"48", "01", "抽检"},        {"49", "01", "原材料"}};
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
  InsertAll(db, "INSERT INTO t_JobType (FName) VALUES (?1)", {{Variant("装配")}, {Variant("焊接")}});
  InsertAll(db, "INSERT INTO t_IcTeamTime (FBillNo, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("BC01"), Variant("白班"), uuid(13, 1)}, {Variant("BC02"), Variant("夜班"), uuid(13, 2)}});

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

}  // namespace

void FillSample(sql::Database& db, std::int32_t itemsPerClass, Kind kind) {
  writeLinkTargets(db);
  // The classes of the exchange and their detail tables, as the account set lists them; units of
  // measure (7) are link targets above. A commercial account set keeps no records of cost accounting
  // (2001-2004), work centres (14) or fees (2014).
  const char* kindsClasses = kind == Kind::Commercial ? " AND FItemClassID NOT IN (14, 2001, 2002, 2003, 2004, 2014)" : "";
  sql::Rowset classes = db.query(std::string("SELECT FItemClassID, FName, FSQLTableName FROM t_ItemClass WHERE "
                                             "FItemClassID <> 7") + kindsClasses + " ORDER BY FItemClassID");
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
  WriteSampleItemClasses(db, items, itemsPerClass, kind);
  FillOwnColumns(db);
  WriteSampleAssistTypes(db);
}

}  // namespace quillane::accountset
