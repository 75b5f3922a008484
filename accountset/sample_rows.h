// What the sample's writers share: row insertion, UUIDs that depend on their place in the sample only,
// and the writer of the items of one class.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "accountset/accountset.h"
#include "platform/automation/variant.h"
#include "platform/sql/database.h"

namespace quillane::accountset {

using Row = std::vector<Variant>;

// "TTTTTTTT-0000-4000-8000-NNNNNNNNNNNN": a table's code and a running number.
std::string SampleUuid(std::uint32_t table, std::uint32_t n);
// The UUID of a record that item fields link to: SampleUuid of 0xA0000000 + the table's code.
Variant LinkTargetUuid(std::uint32_t table, int n);
// printf of one whole number.
std::string Format(const char* pattern, int value);

// Runs stmt with row bound; the rowid of the row it inserted.
std::int32_t Insert(sql::Database& db, sql::Statement& stmt, const Row& row);
void InsertAll(sql::Database& db, const char* sqlText, const std::vector<Row>& rows);
std::int32_t InsertOne(sql::Database& db, const char* sqlText, const Row& row);

// One detail item just written, for its detail-table row: its FItemID, parent group, number, name,
// short number and its place k (from 1) among the class's details.
struct DetailItem {
  std::int32_t id;
  std::int32_t parent;
  std::string number;
  std::string name;
  std::string shortNumber;
  int k;
};

// The items of one class: groups "01", "02"... and details "01.0001", "02.0002"... dealt out over
// them in turn; every 25th detail is marked deleted. Each detail is handed to the class's writer of
// detail rows; materials get a bar code each. A tenth of the count are deletion keys of the class.
class ItemWriter {
 public:
  using DetailWriter = std::function<void(const DetailItem&)>;
  explicit ItemWriter(sql::Database& db);
  void write(std::int32_t classId, const std::string& caption, std::int32_t count, const DetailWriter& detail);

 private:
  sql::Database& db_;
  sql::Statement item_, barCode_, deleted_;
};

// The item classes that users define, with their own tables, property descriptions, access rights and
// count records each; a commercial account set's auxiliary properties of goods among them.
void WriteSampleItemClasses(sql::Database& db, ItemWriter& items, std::int32_t count, Kind kind);

// The chart of accounts with its groups and item-class combinations; its currencies and units must be
// written first.
void WriteChartOfAccounts(sql::Database& db);

// The standalone types with tables of their own (sample_standalone.cpp): units of measure in their
// groups, which are class 7 items too; stock places in theirs; commercial auxiliary data under their
// classes; and, once every industrial entry is written, the types those entries name.
void WriteSampleUnits(sql::Database& db);
void WriteSampleStockPlaces(sql::Database& db);
void WriteSampleCommercialAssist(sql::Database& db);
void WriteSampleAssistTypes(sql::Database& db);

}  // namespace quillane::accountset
