#include "platform/sql/engine_schema.h"

#include "platform/sql/database.h"
#include "platform/sql/rowversion.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {

void EnsureEngineSchema(Database& db) {
  if (HasRowVersionCounter(db) && HasDisabledTriggerTable(db) && ColumnsWithoutRowVersion(db).empty()) return;
  db.execScript("BEGIN IMMEDIATE");
  try {
    db.execScript(RowVersionCounterSql() + DisabledTriggerTableSql());
    InstallMissingRowVersions(db);
    db.execScript("COMMIT");
  } catch (...) {
    db.tryExec("ROLLBACK");
    throw;
  }
}

}  // namespace quillane::sql
