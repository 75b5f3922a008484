// The engine's own objects in a database file: the row-version counter and its triggers, and the tables
// of disabled and paused triggers. A file this engine creates gets them at once; a file made by another
// program gets them with its first write, inside the transaction of that write, so a file that is only
// read is never changed.
#pragma once

namespace quillane::sql {

class Database;

// True when the counter, the tables of disabled and paused triggers and the triggers of every
// row-version column are all in place. Reads only.
bool HasEngineSchema(Database& db);

// Creates what is missing, inside the caller's transaction.
void InstallEngineSchema(Database& db);

}  // namespace quillane::sql
