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
  InsertAll(db, "INSERT INTO t_Currency (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RMB"), Variant("人民币"), uuid(1, 1)}, {Variant("USD"), Variant("美元"), uuid(1, 2)}});
  InsertAll(db, "INSERT INTO t_Account (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("1001"), Variant("库存现金"), uuid(2, 1)},
             {Variant("1002"), Variant("银行存款"), uuid(2, 2)},
             {Variant("1122"), Variant("应收账款"), uuid(2, 3)},
             {Variant("2202"), Variant("应付账款"), uuid(2, 4)}});
  InsertAll(db, "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4)",
            {{Variant(std::int32_t{1}), Variant("01"), Variant("一般纳税人"), uuid(3, 1)},
             {Variant(std::int32_t{1}), Variant("02"), Variant("小规模纳税人"), uuid(3, 2)}});
  InsertAll(db, "INSERT INTO com_SysType (FName, UUID) VALUES (?1, ?2)", {{Variant("一般纳税人"), uuid(4, 1)}});
  InsertAll(db, "INSERT INTO t_Settle (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("JF01"), Variant("现金"), uuid(5, 1)}, {Variant("JF02"), Variant("支票"), uuid(5, 2)}});

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
  WriteSampleItemClasses(db, items, itemsPerClass);
}

}  // namespace quillane::accountset
