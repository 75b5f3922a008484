// A trigger is disabled for the transaction that disables it and no longer: within it the trigger stays
// off from statement to statement, a rollback undoes the disable, and a disable some transaction
// committed (as older versions of the engine did, in a transaction of their own) is undone before the
// next transaction writes, on whatever connection.
#include <gtest/gtest.h>

#include "platform/sql/database.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

// The fixture's trigger logs each delete from t_Item. One with a condition of its own, which refuses
// to delete class 1, is disabled the older way.
constexpr const char* kGuard =
    "CREATE TRIGGER t_Item_Guard BEFORE DELETE ON t_Item FOR EACH ROW WHEN OLD.FItemClassID = 1 "
    "BEGIN SELECT RAISE(ABORT, 'kept'); END";

std::string triggerState(sql::Connection& c) {
  return RenderRows(*c.GetAnyRecordSet(
      "SELECT (SELECT group_concat(name, '+') FROM (SELECT name FROM sqlite_master WHERE type = 'trigger' AND name "
      "LIKE 't\\_Item\\_%' ESCAPE '\\' ORDER BY name)), (SELECT COUNT(*) FROM quillane_disabled_trigger), "
      "(SELECT COUNT(*) FROM quillane_paused_trigger)"));
}

TEST(TriggerSwitch, ADisableLastsFromStatementToStatementUntilItsTransactionEnds) {
  struct Case {
    const char* trigger;
    const char* created;  // SQLite text run first, or null
    const char* deleted;  // what the delete of class 1 leaves in t_Log while the trigger is off
  };
  const Case cases[] = {{"t_Item_Log", nullptr, ""}, {"t_Item_Guard", kGuard, "deleted C1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trigger);
    SqlFixture f;
    if (c.created) sql::Database(f.path(), sql::Database::Mode::OpenExisting).execScript(c.created);
    sql::Connection& conn = f.connection();
    const std::string before = triggerState(conn);
    for (bool commit : {false, true}) {
      conn.BeginTrans();
      conn.Execute(std::string("ALTER TABLE t_Item DISABLE TRIGGER ") + c.trigger);
      conn.Execute("DELETE FROM t_Item WHERE FItemID = 3");
      EXPECT_EQ(RenderRows(*conn.GetAnyRecordSet("SELECT FText FROM t_Log")), c.deleted);
      if (commit) conn.Execute(std::string("ALTER TABLE t_Item ENABLE TRIGGER ") + c.trigger);
      commit ? conn.CommitTrans() : conn.RollbackTrans();
      EXPECT_EQ(triggerState(conn), before) << (commit ? "enabled and committed" : "rolled back");
    }
    EXPECT_EQ(RenderRows(*conn.GetAnyRecordSet("SELECT COUNT(*) FROM t_Item WHERE FItemID = 3")), "0");
  }
}

TEST(TriggerSwitch, ADisableLeftCommittedIsUndoneBeforeTheNextWrite) {
  struct Case {
    const char* state;
    const char* leave;  // SQLite text, as the engine's own connection runs it
  };
  const Case states[] = {
      {"dropped and kept aside",
       "INSERT INTO quillane_disabled_trigger (FName, FTable, FSql) SELECT name, tbl_name, sql FROM sqlite_master "
       "WHERE name = 't_Item_Log'; DROP TRIGGER t_Item_Log"},
      {"paused", "ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log"},
  };
  for (const Case& s : states) {
    for (bool inTransaction : {false, true}) {
      SCOPED_TRACE(std::string(s.state) + (inTransaction ? ", first write in a transaction" : ", first write alone"));
      SqlFixture f;
      sql::Connection& conn = f.connection();
      if (std::string(s.leave).starts_with("ALTER")) conn.Execute(s.leave);
      else sql::Database(f.path(), sql::Database::Mode::OpenExisting).execScript(s.leave);
      conn.CloseConn();
      const std::string left = ReadFile(f.path());

      sql::Connection reader;
      reader.setConnString(f.connectString());
      EXPECT_EQ(RenderRows(*reader.GetAnyRecordSet("SELECT type FROM sysobjects WHERE name = 't_Item_Log'")), "TR");
      reader.CloseConn();
      EXPECT_TRUE(ReadFile(f.path()) == left) << "a connection that only read changed the file";

      sql::Connection writer;
      writer.setConnString(f.connectString());
      if (inTransaction) writer.BeginTrans();
      writer.Execute("DELETE FROM t_Item WHERE FItemID = 3");
      if (inTransaction) writer.CommitTrans();
      EXPECT_EQ(RenderRows(*writer.GetAnyRecordSet("SELECT FText FROM t_Log")), "deleted C1");
      EXPECT_EQ(triggerState(writer), "t_Item_Log,0,0");
    }
  }
}

}  // namespace
}  // namespace quillane::testing
