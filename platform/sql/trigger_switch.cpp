#include "platform/sql/trigger_switch.h"

#include "platform/automation/vbconv.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"

namespace quillane::sql {

std::string DisabledTriggerTableSql() {
  return std::string("CREATE TABLE IF NOT EXISTS ") + kDisabledTriggerTable +
         " (FName TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, FTable TEXT NOT NULL COLLATE NOCASE, FSql TEXT NOT NULL);\n";
}

bool HasDisabledTriggerTable(Database& db) {
  Variant name(kDisabledTriggerTable);
  return !db.query("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", {&name, 1}).rows.empty();
}

void SetTriggerEnabled(Database& db, std::string_view table, std::string_view trigger, bool enabled) {
  Variant params[] = {Variant(trigger), Variant(table)};
  Rowset active = db.query(
      "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND name = ?1 COLLATE NOCASE "
      "AND tbl_name = ?2 COLLATE NOCASE AND name NOT LIKE 'quillane\\_%' ESCAPE '\\'",
      params);
  Rowset disabled = db.query(std::string("SELECT FName, FSql FROM ") + kDisabledTriggerTable +
                                 " WHERE FName = ?1 AND FTable = ?2",
                             params);
  if (active.rows.empty() && disabled.rows.empty())
    throw ProviderError(OleDbError::NoTable, "ALTER TABLE failed because trigger '" + std::string(trigger) +
                                                 "' does not belong to table '" + std::string(table) + "'.");
  if (!enabled && !active.rows.empty()) {
    std::string name = CStr(active.rows[0][0]);
    Variant stash[] = {Variant(name), Variant(table), active.rows[0][1]};
    db.run(std::string("INSERT INTO ") + kDisabledTriggerTable + " (FName, FTable, FSql) VALUES (?1, ?2, ?3)", stash);
    db.execScript("DROP TRIGGER " + QuoteIdentifier(name));
  } else if (enabled && !disabled.rows.empty()) {
    db.execScript(CStr(disabled.rows[0][1]));
    Variant name = disabled.rows[0][0];
    db.run(std::string("DELETE FROM ") + kDisabledTriggerTable + " WHERE FName = ?1", {&name, 1});
  }
}

}  // namespace quillane::sql
