#include "platform/sql/engine_schema.h"

#include "platform/sql/database.h"
#include "platform/sql/rowversion.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {

bool HasEngineSchema(Database& db) {
  return HasRowVersionCounter(db) && HasTriggerSwitchTables(db) && ColumnsWithoutRowVersion(db).empty();
}

void InstallEngineSchema(Database& db) {
  db.execScript(RowVersionCounterSql() + DisabledTriggerTableSql());
  InstallMissingRowVersions(db);
}

}  // namespace quillane::sql
