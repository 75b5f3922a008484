// The SQL Server system catalogue the library asks (sysobjects with the types 'U', 'V' and 'TR',
// syscolumns), as views over SQLite's own schema table. They are temporary views of each connection,
// so the account set file itself holds nothing that other SQLite programs would not understand.
#pragma once

namespace quillane::sql {

class Database;

void AttachCatalog(Database& db);

}  // namespace quillane::sql
