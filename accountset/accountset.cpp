#include "accountset/accountset.h"

#include <filesystem>
#include <memory>

#include "accountset/sample.h"
#include "accountset/schema.h"
#include "platform/sql/connection.h"
#include "platform/sql/database.h"
#include "platform/sql/rowversion.h"

namespace quillane::accountset {
namespace {

// Makes the file in one transaction; a failure removes it, so a half-made account set never stays.
// A file that exists already is refused before anything is touched.
template <class Fill>
void create(const std::string& path, Fill fill) {
  auto db = std::make_unique<sql::Database>(path, sql::Database::Mode::CreateNew);
  try {
    db->execScript("BEGIN IMMEDIATE");
    db->execScript(SchemaSql());
    sql::InstallMissingRowVersions(*db);
    fill(*db);
    db->execScript("COMMIT");
  } catch (...) {
    db.reset();
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(path + suffix, ignored);
    throw;
  }
}

}  // namespace

std::string ConnectString(const std::string& path) { return sql::ConnectStringOf(path); }

void CreateEmpty(const std::string& path) {
  create(path, [](sql::Database&) {});
}

void CreateSample(const std::string& path, std::int32_t itemsPerClass, Kind kind) {
  create(path, [itemsPerClass, kind](sql::Database& db) { FillSample(db, itemsPerClass, kind); });
}

}  // namespace quillane::accountset
