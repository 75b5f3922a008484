// ALTER TABLE ... DISABLE / ENABLE TRIGGER. SQLite has no disabled triggers. A trigger is disabled for
// the transaction that disables it and no longer: so that no kill, full disk or error between the two
// statements can leave the trigger off for the programs that write the file later.
//
// A trigger is made pausable the first time it is disabled: its text gains a condition that skips it
// while a row of the engine's table of paused triggers names it. Disabling writes that row and
// enabling deletes it; both are writes of the caller's transaction, which no other connection sees
// before it commits, and which a rollback or a kill undoes. The schema does not change again. A
// trigger that already has a condition of its own is disabled the older way: its text is kept aside
// in an engine table and the trigger dropped, inside the caller's transaction.
//
// A transaction that commits with a trigger still disabled (a caller that did not enable it, or an
// older version of this engine, which disabled in a transaction of its own) leaves it so only until
// the next transaction writes: EnableTriggersLeftDisabled runs before that transaction's first write.
#pragma once

#include <string>
#include <string_view>

namespace quillane::sql {

class Database;

inline constexpr const char* kDisabledTriggerTable = "quillane_disabled_trigger";
inline constexpr const char* kPausedTriggerTable = "quillane_paused_trigger";

// The SQLite text that creates the engine's tables of disabled and paused triggers where they are missing.
std::string DisabledTriggerTableSql();
bool HasDisabledTriggerTable(Database& db);
// Both tables are there.
bool HasTriggerSwitchTables(Database& db);

// Disabling a disabled trigger and enabling an enabled one change nothing, as in SQL Server; a
// trigger that the table does not have raises.
void SetTriggerEnabled(Database& db, std::string_view table, std::string_view trigger, bool enabled);

// Enables every trigger that an earlier transaction left disabled. Inside the caller's write
// transaction, before its first change; reads one row when there is nothing to do.
void EnableTriggersLeftDisabled(Database& db);

}  // namespace quillane::sql
