// Row versions: a column of type TIMESTAMP (or ROWVERSION) behaves as SQL Server's rowversion. Every
// insert and update of a row gives it the next value of one counter kept for the whole database, so the
// values are unique and strictly increasing across all tables. The value is 8 bytes, most significant
// first: compared and taken MAX of as blobs, it orders as the counter does.
//
// The stamps are made by triggers written in plain SQL over the counter table, so they fire whichever
// program writes the file (the sqlite3 shell included), not only this process.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillane::sql {

class Database;

// The SQLite text that creates the counter and its stamp view where they are missing.
std::string RowVersionCounterSql();
bool HasRowVersionCounter(Database& db);

// The (table, column) pairs of row-version columns whose triggers are missing.
std::vector<std::pair<std::string, std::string>> ColumnsWithoutRowVersion(Database& db);
// Installs the triggers of all of them, inside the caller's transaction.
void InstallMissingRowVersions(Database& db);

// Installs the triggers that stamp column of table. Called inside the caller's transaction, right
// after the table was created.
void InstallRowVersion(Database& db, std::string_view table, std::string_view column);

}  // namespace quillane::sql
