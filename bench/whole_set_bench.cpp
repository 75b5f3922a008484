// The whole sample set (N records per class, 2000 by default) carried type by type, in the order of a
// full transfer, through the facade's bulk road into an empty account set: per type, the records per
// second of export and import together beside a raw baseline that copies the same rows with plain
// SQLite in one transaction per record, and at the end the peak memory of the transfer; fails when the
// copy differs from the sample.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "tools/quillane/data_type_table.h"
#include "wholeset/account_set_content.h"
#include "wholeset/road.h"

namespace {

using namespace bench;
using quillane::CBool;
using quillane::CStr;
using quillane::Variant;

std::vector<std::string> Tables(Db& db) {
  std::vector<std::string> tables;
  Stmt list(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                "AND name NOT LIKE 'quillane%'");
  while (list.step()) tables.push_back(list.text(0));
  return tables;
}

// The highest rowid of every table: where the rows that a type's import adds begin.
std::map<std::string, std::int64_t> HighestRowids(const std::string& path) {
  Db db(path);
  std::map<std::string, std::int64_t> highest;
  for (const std::string& table : Tables(db)) {
    Stmt max(db, ("SELECT IFNULL(MAX(rowid), 0) FROM \"" + table + "\"").c_str());
    highest[table] = max.firstInteger();
  }
  return highest;
}

// The tables and columns that `from` has and `to` lacks (those of user-defined item classes), made in
// `to` before the rows are copied.
void CopyNewTablesAndColumns(Db& db) {
  Stmt tables(db, "SELECT name, sql FROM src.sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' AND "
                  "name NOT IN (SELECT name FROM main.sqlite_master)");
  std::vector<std::string> statements;
  while (tables.step()) statements.push_back(tables.text(1));
  Stmt columns(db, "SELECT t.name, c.name, c.type FROM main.sqlite_master t JOIN pragma_table_info(t.name, 'src') c "
                   "WHERE t.type = 'table' AND t.name NOT LIKE 'sqlite%' AND c.name NOT IN "
                   "(SELECT name FROM pragma_table_info(t.name, 'main'))");
  while (columns.step())
    statements.push_back("ALTER TABLE main.\"" + columns.text(0) + "\" ADD COLUMN \"" + columns.text(1) + "\" " +
                         columns.text(2));
  for (const std::string& statement : statements) db.exec(statement);
}

std::string ColumnList(Db& db, const std::string& table) {
  Stmt columns(db, ("SELECT name FROM pragma_table_info('" + table + "', 'src')").c_str());
  std::string list;
  while (columns.step()) list += (list.empty() ? "\"" : ", \"") + columns.text(0) + "\"";
  return list;
}

// The raw baseline: the rows added since `since` (every row of a table made since) read out of `from`
// and written into `to` by SQLite alone, with the durability the target's connection has, in as many
// transactions as the type has records: each transaction copies its share of every table's new rows,
// about the rows of one record, as the engine commits each record by itself.
double RawCopy(const std::string& from, const std::string& to, const std::map<std::string, std::int64_t>& since,
               std::int64_t records) {
  Db db(to);
  db.exec("ATTACH '" + from + "' AS src");
  CopyNewTablesAndColumns(db);
  struct TableCopy {
    std::unique_ptr<Stmt> copy;
    std::vector<std::int64_t> rowids;
  };
  std::vector<TableCopy> tables;
  for (const auto& [table, rowid] : HighestRowids(from)) {
    const auto before = since.find(table);
    Stmt added(db, ("SELECT rowid FROM src.\"" + table + "\" WHERE rowid > " +
                    std::to_string(before == since.end() ? 0 : before->second) + " ORDER BY rowid").c_str());
    TableCopy copy;
    while (added.step()) copy.rowids.push_back(added.integer(0));
    if (copy.rowids.empty()) continue;
    const std::string columns = ColumnList(db, table);
    copy.copy = std::make_unique<Stmt>(db, ("INSERT INTO main.\"" + table + "\" (" + columns + ") SELECT " + columns +
                                            " FROM src.\"" + table + "\" WHERE rowid BETWEEN ?1 AND ?2").c_str());
    tables.push_back(std::move(copy));
  }
  const std::int64_t transactions = std::max<std::int64_t>(records, 1);
  double taken = seconds([&] {
    for (std::int64_t t = 0; t < transactions; ++t) {
      db.exec("BEGIN");
      for (TableCopy& table : tables) {
        const auto n = static_cast<std::int64_t>(table.rowids.size());
        const std::int64_t first = t * n / transactions, last = (t + 1) * n / transactions;
        if (first < last) table.copy->bind(1, table.rowids[first]).bind(2, table.rowids[last - 1]).run();
      }
      db.exec("COMMIT");
    }
  });
  tables.clear();
  db.exec("DETACH src");
  return taken;
}

constexpr long kMemoryTarget = 64;

// The file export of custom item classes names them in the props' language.
std::string roadProps(const std::string& path) { return props(path) + ";Language=CHS"; }

}  // namespace

int main(int argc, char** argv) {
  const int perClass = argc > 1 ? std::atoi(argv[1]) : 2000;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("whole_set_bench." + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string source = dir / "source.db", target = dir / "target.db", raw = dir / "raw.db";
  quillane::accountset::CreateSample(source, perClass);
  for (const std::string& path : {target, raw}) {
    quillane::accountset::CreateEmpty(path);
    quillane::testing::SeedNotCarried(source, path, quillane::testing::Kind::Industrial);
  }

  std::printf("the sample set with %d records per class, by bulk files\n", perClass);
  quillane::ObjectRef facade = quillane::CreateObject("Quillane.clsExpImp");
  std::int32_t records = 0;
  auto cookie = facade->Advise([&](std::string_view event, quillane::DispId, quillane::Arguments) {
    if (event == "Progress") ++records;
  });
  int failures = 0;
  const bool peakReset = resetPeakMemory();
  for (const auto& type : quillane::cli::kDataTypes) {
    if (!quillane::testing::OnTheRoad(type.lIO, quillane::testing::Kind::Industrial)) continue;
    const std::string file = dir / (std::string(type.name) + ".xml");
    const auto before = HighestRowids(target);
    double engine = seconds([&] {
      std::string error;
      if (!quillane::testing::ExportToFile(facade, roadProps(source), type.lIO, file, kPerPage, error))
        throw std::runtime_error(type.name + (": " + error));
      records = 0;
      if (!quillane::testing::ImportFromFile(facade, roadProps(target), type.lIO, file, kPerPage, error))
        throw std::runtime_error(type.name + (": " + error));
    });
    failures += quillane::CLng(facade->Get("ErrorCount"));
    double rawSeconds = RawCopy(target, raw, before, records);
    std::printf("%-16s %7d records   engine %8.0f records/s   raw %9.0f records/s   raw/engine %6.1f\n", type.name,
                records, records / engine, records / rawSeconds, engine / rawSeconds);
  }
  facade->Unadvise(cookie);
  const long transferPeak = peakMemoryMiB();
  const std::string differences =
      quillane::testing::Differences(source, target, quillane::testing::Identifiers::ByWhatTheyPointAt,
                                    quillane::testing::Kind::Industrial);
  std::printf("peak memory of the transfer %ld MiB%s (target under %ld MiB at 10,000 records per class: %s)\n",
              transferPeak, peakReset ? "" : ", set-up included", kMemoryTarget,
              transferPeak < kMemoryTarget ? "met" : "NOT MET");
  std::printf("%d records failed\n", failures);
  if (!differences.empty())
    std::printf("FAILED: the copy differs from the sample:\n%s\n", differences.substr(0, 4000).c_str());
  else
    std::printf("the copy equals the sample\n");
  std::filesystem::remove_all(dir);
  return failures == 0 && differences.empty() ? 0 : 1;
}
