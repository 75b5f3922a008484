// The engine's own objects in a database file: the row-version counter and its triggers, and the table
// of disabled triggers. A file made by another program gets them the first time a connection opens it.
#pragma once

namespace quillane::sql {

class Database;

// Creates what is missing, in one transaction of its own; reads only when all is in place.
void EnsureEngineSchema(Database& db);

}  // namespace quillane::sql
