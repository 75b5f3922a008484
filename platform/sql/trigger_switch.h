// ALTER TABLE ... DISABLE / ENABLE TRIGGER. SQLite has no disabled triggers, so disabling keeps the
// trigger's text aside in an engine table and drops the trigger: it then fires for no program that
// writes the file. Enabling creates it again from that text. Both happen inside the caller's
// transaction and roll back with it.
#pragma once

#include <string>
#include <string_view>

namespace quillane::sql {

class Database;

inline constexpr const char* kDisabledTriggerTable = "quillane_disabled_trigger";

// The SQLite text that creates the table of disabled triggers where it is missing.
std::string DisabledTriggerTableSql();
bool HasDisabledTriggerTable(Database& db);

// Disabling a disabled trigger and enabling an enabled one change nothing, as in SQL Server; a
// trigger that the table does not have raises.
void SetTriggerEnabled(Database& db, std::string_view table, std::string_view trigger, bool enabled);

}  // namespace quillane::sql
