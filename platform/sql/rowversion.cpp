#include "platform/sql/rowversion.h"

#include <cstdio>

#include "platform/automation/vbconv.h"
#include "platform/sql/column_types.h"
#include "platform/sql/database.h"

namespace quillane::sql {
namespace {

std::string byteValuesLiteral() {
  std::string bytes = "X'";
  char hex[3];
  for (int b = 0; b < 256; ++b) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    bytes += hex;
  }
  return bytes + "'";
}

std::string stampExpression() {
  std::string expr;
  for (int shift = 56; shift >= 0; shift -= 8) {
    if (!expr.empty()) expr += " || ";
    expr += "substr(FBytes, ((FValue >> " + std::to_string(shift) + ") & 255) + 1, 1)";
  }
  return "CAST(" + expr + " AS BLOB)";
}

std::string triggerName(std::string_view table, std::string_view event) {
  return "quillane_rowversion_" + std::string(table) + "_" + std::string(event);
}

std::string stampBody(std::string_view table, std::string_view column) {
  return " BEGIN UPDATE quillane_rowversion SET FValue = FValue + 1; UPDATE " + QuoteIdentifier(table) + " SET " +
         QuoteIdentifier(column) + " = (SELECT FStamp FROM quillane_rowversion_stamp) WHERE rowid = NEW.rowid; END;\n";
}

}  // namespace

// The counter row also holds the 256 byte values, so that the stamp view can cut each byte of the
// counter out of them: plain SQL has no other way from a number to a blob.
std::string RowVersionCounterSql() {
  return "CREATE TABLE IF NOT EXISTS quillane_rowversion (FValue INTEGER NOT NULL, FBytes BLOB NOT NULL);\n"
         "INSERT INTO quillane_rowversion (FValue, FBytes) SELECT 0, " + byteValuesLiteral() +
         " WHERE NOT EXISTS (SELECT 1 FROM quillane_rowversion);\n"
         "CREATE VIEW IF NOT EXISTS quillane_rowversion_stamp AS SELECT " + stampExpression() +
         " AS FStamp FROM quillane_rowversion;\n";
}

bool HasRowVersionCounter(Database& db) {
  return !db.query("SELECT 1 FROM sqlite_master WHERE type = 'view' AND name = 'quillane_rowversion_stamp'")
              .rows.empty();
}

std::vector<std::pair<std::string, std::string>> ColumnsWithoutRowVersion(Database& db) {
  Rowset columns = db.query(
      "SELECT m.name, p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p "
      "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND NOT EXISTS (SELECT 1 FROM "
      "sqlite_master t WHERE t.type = 'trigger' AND t.name = 'quillane_rowversion_' || m.name || '_insert')");
  std::vector<std::pair<std::string, std::string>> found;
  for (const auto& row : columns.rows)
    if (ColumnTypeOf(CStr(row[2])).isRowVersion) found.emplace_back(CStr(row[0]), CStr(row[1]));
  return found;
}

void InstallRowVersion(Database& db, std::string_view table, std::string_view column) {
  std::string quotedTable = QuoteIdentifier(table);
  // The update trigger leaves alone the update that sets the stamp itself, so that no program that
  // turns recursive triggers on can make it fire again and again.
  db.execScript("CREATE TRIGGER " + QuoteIdentifier(triggerName(table, "insert")) + " AFTER INSERT ON " +
                quotedTable + stampBody(table, column) + "CREATE TRIGGER " +
                QuoteIdentifier(triggerName(table, "update")) + " AFTER UPDATE ON " + quotedTable + " WHEN NEW." +
                QuoteIdentifier(column) + " IS OLD." + QuoteIdentifier(column) + stampBody(table, column));
}

void InstallMissingRowVersions(Database& db) {
  for (const auto& [table, column] : ColumnsWithoutRowVersion(db)) InstallRowVersion(db, table, column);
}

}  // namespace quillane::sql
