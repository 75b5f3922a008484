#include "accountset/sample_rows.h"

#include <sqlite3.h>

#include <cstdio>

namespace quillane::accountset {

std::string SampleUuid(std::uint32_t table, std::uint32_t n) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X-0000-4000-8000-%012X", table, n);
  return text;
}

Variant LinkTargetUuid(std::uint32_t table, int n) {
  return Variant(SampleUuid(0xA0000000u + table, static_cast<std::uint32_t>(n)));
}

std::string Format(const char* pattern, int value) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

std::int32_t Insert(sql::Database& db, sql::Statement& stmt, const Row& row) {
  stmt.reset();
  stmt.bind(row);
  while (stmt.step()) {
  }
  return static_cast<std::int32_t>(sqlite3_last_insert_rowid(db.handle()));
}

void InsertAll(sql::Database& db, const char* sqlText, const std::vector<Row>& rows) {
  sql::Statement stmt(db, sqlText);
  for (const Row& row : rows) Insert(db, stmt, row);
}

std::int32_t InsertOne(sql::Database& db, const char* sqlText, const Row& row) {
  sql::Statement stmt(db, sqlText);
  return Insert(db, stmt, row);
}

ItemWriter::ItemWriter(sql::Database& db)
    : db_(db),
      item_(db, "INSERT INTO t_Item (FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FFullNumber, "
                "FShortNumber, FDeleted, UUID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?2, ?7, ?8, ?9)"),
      barCode_(db, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (?1, ?2, ?3, ?4)"),
      deleted_(db, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES ('t_Item', ?1, ?2)") {}

void ItemWriter::write(std::int32_t classId, const std::string& caption, std::int32_t count, const DetailWriter& detail) {
  if (count <= 0) return;
  Variant cls(classId);
  auto uuid = [&](int n) { return Variant(SampleUuid(static_cast<std::uint32_t>(classId), static_cast<std::uint32_t>(n))); };
  int groups = 1 + count / 20;
  std::vector<std::int32_t> groupIds;
  for (int g = 1; g <= groups; ++g) {
    std::string number = Format("%02d", g);
    groupIds.push_back(Insert(db_, item_, {cls, Variant(number), Variant(caption + "组" + number), Variant(std::int32_t{0}),
                                           Variant(std::int16_t{1}), Variant(false), Variant(number),
                                           Variant(std::int16_t{0}), uuid(g)}));
  }
  for (int k = 1; k <= count; ++k) {
    int g = (k - 1) % groups;
    std::string shortNumber = Format("%04d", k);
    std::string number = Format("%02d", g + 1) + "." + shortNumber;
    std::string name = caption + shortNumber;
    std::int32_t id = Insert(db_, item_, {cls, Variant(number), Variant(name), Variant(groupIds[g]), Variant(std::int16_t{2}),
                                          Variant(true), Variant(shortNumber), Variant(static_cast<std::int16_t>(k % 25 == 0)),
                                          uuid(groups + k)});
    if (detail) detail(DetailItem{id, groupIds[g], number, name, shortNumber, k});
    if (classId == 4)
      Insert(db_, barCode_, {cls, Variant(id), Variant("69" + Format("%010d", id)), k % 2 ? Variant::null() : Variant("sample")});
  }
  for (int k = 1; k <= count / 10; ++k) Insert(db_, deleted_, {cls, uuid(0x10000 + k)});
}

}  // namespace quillane::accountset
