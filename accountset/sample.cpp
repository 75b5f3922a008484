#include "accountset/sample.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "accountset/sample_details.h"
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

std::int32_t insertOne(sql::Database& db, const char* sqlText, const Row& row) {
  sql::Statement stmt(db, sqlText);
  return insert(db, stmt, row);
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

// A few records of each kind that item fields link to, the same whatever the size.
void writeLinkTargets(sql::Database& db) {
  auto uuid = [](std::uint32_t table, int n) { return Variant(sampleUuid(0xA0000000u + table, static_cast<std::uint32_t>(n))); };
  insertAll(db, "INSERT INTO t_Currency (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RMB"), Variant("人民币"), uuid(1, 1)}, {Variant("USD"), Variant("美元"), uuid(1, 2)}});
  insertAll(db, "INSERT INTO t_Account (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("1001"), Variant("库存现金"), uuid(2, 1)},
             {Variant("1002"), Variant("银行存款"), uuid(2, 2)},
             {Variant("1122"), Variant("应收账款"), uuid(2, 3)},
             {Variant("2202"), Variant("应付账款"), uuid(2, 4)}});
  // Two entries of each type of auxiliary data that the detail rows link to.
  const char* entries[][2] = {{"一般纳税人", "小规模纳税人"}, {"华东", "华北"}, {"制造业", "零售业"},
                              {"男", "女"},                   {"本科", "硕士"}, {"经理", "专员"},
                              {"普通仓", "冷藏仓"},           {"差旅费", "办公费"}, {"按工时", "按台时"}};
  sql::Statement entry(db, "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4)");
  for (int type = 1; type <= 9; ++type)
    for (int k = 0; k < 2; ++k)
      insert(db, entry, {Variant(std::int32_t{type}), Variant(format("%02d", k + 1)), Variant(entries[type - 1][k]),
                         uuid(3, 2 * (type - 1) + k + 1)});
  insertAll(db, "INSERT INTO com_SysType (FName, UUID) VALUES (?1, ?2)", {{Variant("一般纳税人"), uuid(4, 1)}});
  insertAll(db, "INSERT INTO t_Settle (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("JF01"), Variant("现金"), uuid(5, 1)}, {Variant("JF02"), Variant("支票"), uuid(5, 2)}});

  // A unit group is an item of class 7 too, and so is each of its units.
  sql::Statement unitItem(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) "
                              "VALUES (7, ?1, ?2, ?3, ?4, ?5, ?6)");
  Variant group(insert(db, unitItem, {Variant("重量组"), Variant("重量组"), Variant(std::int32_t{0}),
                                      Variant(std::int16_t{1}), Variant(false), uuid(6, 1)}));
  insertAll(db, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, UUID) VALUES (?1, ?2, ?3)", {{group, Variant("重量组"), uuid(7, 1)}});
  sql::Statement unit(db, "INSERT INTO t_MeasureUnit (FItemID, FUnitGroupID, FNumber, FName, FShortNumber, FStandard, UUID) "
                          "VALUES (?1, ?2, ?3, ?4, ?3, ?5, ?6)");
  const char* units[][2] = {{"kg", "千克"}, {"g", "克"}};
  for (int u = 0; u < 2; ++u) {
    Variant item(insert(db, unitItem, {Variant(units[u][0]), Variant(units[u][1]), group, Variant(std::int16_t{2}),
                                       Variant(true), uuid(6, u + 2)}));
    insert(db, unit, {item, group, Variant(units[u][0]), Variant(units[u][1]), Variant(static_cast<std::int16_t>(u == 0)), uuid(8, u + 1)});
  }

  Variant placeGroup(insertOne(db, "INSERT INTO t_StockPlaceGroup (FNumber, FName, UUID) VALUES (?1, ?2, ?3)",
                               {Variant("01"), Variant("货位组"), uuid(9, 1)}));
  insertAll(db, "INSERT INTO t_StockPlace (FSPGroupID, FNumber, FName, FFullNumber, UUID) VALUES (?1, ?2, ?3, ?2, ?4)",
            {{placeGroup, Variant("01.01"), Variant("一号货位"), uuid(10, 1)}});
  insertAll(db, "INSERT INTO ICQCScheme (FBillNo, FSchemeName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("QC001"), Variant("来料检验"), uuid(11, 1)}});
  insertAll(db, "INSERT INTO t_Routing (FBillNo, FRoutingName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("RT001"), Variant("标准工艺"), uuid(12, 1)}});
  insertAll(db, "INSERT INTO t_WorkType (FNumber, FName) VALUES (?1, ?2)", {{Variant("01"), Variant("普通工种")}});
  insertAll(db, "INSERT INTO t_JobType (FName) VALUES (?1)", {{Variant("装配")}});
  insertAll(db, "INSERT INTO t_IcTeamTime (FBillNo, FName, UUID) VALUES (?1, ?2, ?3)",
            {{Variant("BC01"), Variant("白班"), uuid(13, 1)}});
}

}  // namespace

void FillSample(sql::Database& db, std::int32_t itemsPerClass) {
  writeLinkTargets(db);
  // The classes of the exchange and their detail tables, as the account set lists them; units of
  // measure (7) are link targets above.
  sql::Rowset classes = db.query("SELECT FItemClassID, FName, FSQLTableName FROM t_ItemClass WHERE FItemClassID <> 7 ORDER BY FItemClassID");
  ItemWriter items(db);
  for (const Row& c : classes.rows) items.write(CLng(c[0]), CStr(c[1]), CStr(c[2]), itemsPerClass);
  FillDetailSamples(db);
}

}  // namespace quillane::accountset
