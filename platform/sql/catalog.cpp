#include "platform/sql/catalog.h"

#include "platform/sql/database.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {

// Object ids are the rows of sqlite_master; a disabled trigger, which is kept out of the schema while it
// is disabled (trigger_switch.h), still is an object of type 'TR', as it is in SQL Server. The engine's
// own objects (quillane_*) stay out of sight.
void AttachCatalog(Database& db) {
  std::string disabledTriggers =
      HasDisabledTriggerTable(db)
          ? std::string("UNION ALL SELECT d.FName, -d.rowid, 'TR', 'TR', (SELECT t.rowid FROM main.sqlite_master t "
                        "WHERE t.type = 'table' AND t.name = d.FTable) FROM main.") + kDisabledTriggerTable + " d"
          : std::string();
  db.execScript(
      "DROP VIEW IF EXISTS temp.sysobjects;\n"
      "DROP VIEW IF EXISTS temp.syscolumns;\n"
      "CREATE TEMP VIEW sysobjects AS "
      "SELECT m.name COLLATE NOCASE AS name, m.rowid AS id, "
      "CASE m.type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS type, "
      "CASE m.type WHEN 'table' THEN 'U' WHEN 'view' THEN 'V' ELSE 'TR' END AS xtype, "
      "CASE m.type WHEN 'trigger' THEN (SELECT t.rowid FROM main.sqlite_master t WHERE t.type = 'table' "
      "AND t.name = m.tbl_name) ELSE 0 END AS parent_obj "
      "FROM main.sqlite_master m WHERE m.type IN ('table', 'view', 'trigger') "
      "AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND m.name NOT LIKE 'quillane\\_%' ESCAPE '\\' " +
      disabledTriggers + ";\n"
      "CREATE TEMP VIEW syscolumns AS "
      "SELECT m.rowid AS id, p.name COLLATE NOCASE AS name, p.cid + 1 AS colid, p.type AS typename, "
      "1 - p.\"notnull\" AS isnullable "
      "FROM main.sqlite_master m, pragma_table_info(m.name, 'main') p WHERE m.type IN ('table', 'view') "
      "AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND m.name NOT LIKE 'quillane\\_%' ESCAPE '\\';\n");
}

}  // namespace quillane::sql
