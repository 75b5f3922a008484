// The SQL Server system catalogue the library asks (sysobjects with the types 'U', 'V' and 'TR',
// syscolumns), as views over SQLite's own schema table. They are temporary views of each connection,
// so the account set file itself holds nothing that other SQLite programs would not understand.
#pragma once

namespace quillane::sql {

class Database;

// (Re)creates the views. The disabled triggers are listed once the file holds their table, so the
// views are made again after the engine's objects were installed (engine_schema.h).
void AttachCatalog(Database& db);

}  // namespace quillane::sql
