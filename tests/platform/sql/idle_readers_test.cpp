// Read-only connections kept open between calls: a later call reads the database as it stands then,
// a file put in place of the old one or a changed schema is opened anew, and a connection that may
// write is never kept: it closes, with its commits on the disk, as it did before.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/idle_readers.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

// One read-only call, as an export makes it: its reads held together, then CloseConn.
std::string readOnlyCall(sql::Connection& c, const std::string& sql) {
  c.ForbidWrites();
  c.HoldReads();
  std::shared_ptr<sql::Recordset> rs = c.GetAnyRecordSet(sql);
  std::string first = rs->Eof() ? std::string("(none)") : CStr(rs->Value(std::size_t{0}));
  c.CloseConn();
  return first;
}

void write(const std::string& path, const std::string& sql) {
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  db.execScript(sql);
}

TEST(IdleReaders, EachCallReadsTheDatabaseAsItStandsWhenTheCallStarts) {
  SqlFixture db;
  const std::string count = "SELECT COUNT(*) FROM t_Item";
  EXPECT_EQ(readOnlyCall(db.connection(), count), "3");
  write(db.path(), "INSERT INTO t_Item (FItemClassID, FNumber, FName) VALUES (4, '03', 'Washer')");
  EXPECT_EQ(readOnlyCall(db.connection(), count), "4");
  // A connection dropped without CloseConn is kept as well, and its held read ends with it.
  {
    sql::Connection dropped;
    dropped.setConnString(db.connectString());
    dropped.ForbidWrites();
    dropped.HoldReads();
    EXPECT_EQ(CStr(dropped.GetAnyRecordSet(count)->Value(std::size_t{0})), "4");
  }
  write(db.path(), "DELETE FROM t_Item WHERE FNumber = '03'");
  EXPECT_EQ(readOnlyCall(db.connection(), count), "3");
}

TEST(IdleReaders, AFilePutInPlaceOfTheOldOneIsOpenedAnew) {
  SqlFixture db, other;
  write(other.path(), "UPDATE t_Item SET FName = 'Replaced' WHERE FItemID = 1");
  const std::string name = "SELECT FName FROM t_Item WHERE FItemID = 1";
  EXPECT_EQ(readOnlyCall(db.connection(), name), "Bolt");
  std::filesystem::rename(other.path(), db.path());
  std::filesystem::remove(db.path() + "-wal");
  std::filesystem::remove(db.path() + "-shm");
  EXPECT_EQ(readOnlyCall(db.connection(), name), "Replaced");
}

TEST(IdleReaders, ASchemaChangedByAnotherProgramIsOpenedAnew) {
  SqlFixture db;
  const std::string number = "SELECT * FROM t_ICItem WHERE FItemID = 1";
  sql::Connection& c = db.connection();
  c.ForbidWrites();
  EXPECT_EQ(CStr(c.GetAnyRecordSet(number)->Value("FNumber")), "x");
  c.CloseConn();
  // The same columns in another order: a statement prepared on the old schema names them wrongly.
  write(db.path(),
        "DROP TABLE t_ICItem; CREATE TABLE t_ICItem (FNumber VARCHAR(80), FParentID INT, FItemID INT);"
        "INSERT INTO t_ICItem VALUES ('z', 0, 1);");
  c.ForbidWrites();
  std::shared_ptr<sql::Recordset> rs = c.GetAnyRecordSet(number);
  EXPECT_EQ(CStr(rs->Value("FNumber")), "z");
  EXPECT_EQ(CLng(rs->Value("FItemID")), 1);
  c.CloseConn();
}

TEST(IdleReaders, AWriteAfterAReadOnlyCallGetsAConnectionThatWrites) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  EXPECT_EQ(readOnlyCall(c, "SELECT COUNT(*) FROM t_Item"), "3");
  c.BeginTrans();
  c.Execute("UPDATE t_Item SET FName = 'Written' WHERE FItemID = 1");
  c.CommitTrans();
  c.CloseConn();
  EXPECT_EQ(readOnlyCall(c, "SELECT FName FROM t_Item WHERE FItemID = 1"), "Written");
  // Only the read-only connection was kept: the one that wrote closed.
  std::unique_ptr<sql::Database> kept = sql::TakeIdleReader(db.path());
  ASSERT_NE(kept, nullptr);
  EXPECT_TRUE(kept->writesForbidden());
  EXPECT_EQ(sql::TakeIdleReader(db.path()), nullptr);
}

// The last connection to a WAL file that closes folds the log into the file and removes it. So after
// a call that wrote, the file alone holds every commit, as it did before readers were kept: neither
// the connection that wrote nor a reader of an earlier call is left open beside it.
TEST(IdleReaders, AConnectionThatWroteClosesAtCloseConnAndLeavesNoLogBehind) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  EXPECT_EQ(readOnlyCall(c, "SELECT COUNT(*) FROM t_Item"), "3");
  c.Execute("UPDATE t_Item SET FName = 'Written' WHERE FItemID = 1");
  ASSERT_TRUE(std::filesystem::exists(db.path() + "-wal"));
  c.CloseConn();
  EXPECT_FALSE(std::filesystem::exists(db.path() + "-wal"));
}

// A kept connection serves later calls: what one call's own statements set must not reach them.
TEST(IdleReaders, AReadOnlyCallCannotChangeTheSettingsOfTheConnection) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.ForbidWrites();
  EXPECT_THROW(c.Execute("PRAGMA case_sensitive_like=1"), AutomationError);
  EXPECT_EQ(CLng(c.GetAnyRecordSet("SELECT COUNT(*) FROM t_Item WHERE FName LIKE 'bolt'")->Value(std::size_t{0})), 1);
  // A pragma whose argument names what it reads still runs.
  EXPECT_EQ(CStr(c.database().query("PRAGMA table_info(t_Item)").rows.at(0).at(1)), "FItemID");
  c.CloseConn();
}

}  // namespace
}  // namespace quillane::testing
