// How long a connection lives: nothing of the file is held between two calls, so a file moved or copied
// over the path reads as that file and stays intact; within one ReadSession (one call of many pages) a
// read-only connection serves every page, each page reading the database as it stands then, and a
// connection that may write is never kept.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/read_session.h"
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

std::string integrity(const std::string& path) {
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  return CStr(db.query("PRAGMA integrity_check").rows.at(0).at(0));
}

// Enough rows that the log of the write runs to many pages, over the pages of the file it replaces.
constexpr const char* kManyItems =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
    "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) SELECT 100 + i, 4, 'W' || i, printf('%0200d', i) FROM n";

// Another program's import: a process of its own, as another program is.
void importInAnotherProcess(const std::string& path) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      write(path, kManyItems);
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ConnectionLifetime, AFileReplacedBetweenCallsReadsAsTheNewFileAndStaysIntact) {
  enum class Writer { None, AnotherConnection, AnotherProcess };
  struct Case {
    const char* name;
    bool copied;  // copied over the old file in place (its inode kept), else moved over the path
    Writer writer;
  };
  const Case cases[] = {
      {"mv", false, Writer::None},
      {"mv after another connection's import", false, Writer::AnotherConnection},
      {"mv after another process's import", false, Writer::AnotherProcess},
      {"cp", true, Writer::None},
      {"cp after another connection's import", true, Writer::AnotherConnection},
      {"cp after another process's import", true, Writer::AnotherProcess},
  };
  const std::string count = "SELECT COUNT(*) FROM t_Item", name = "SELECT FName FROM t_Item WHERE FItemID = 1";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SqlFixture db, other;
    write(other.path(), "UPDATE t_Item SET FName = 'Replaced' WHERE FItemID = 1; DELETE FROM t_Item WHERE FItemID = 3");
    EXPECT_EQ(readOnlyCall(db.connection(), count), "3");
    if (c.writer == Writer::AnotherConnection) write(db.path(), kManyItems);
    if (c.writer == Writer::AnotherProcess) importInAnotherProcess(db.path());
    if (c.copied) {
      std::ifstream from(other.path(), std::ios::binary);
      std::ofstream(db.path(), std::ios::binary | std::ios::trunc) << from.rdbuf();
    } else {
      std::filesystem::rename(other.path(), db.path());
    }
    EXPECT_EQ(readOnlyCall(db.connection(), count), "2");
    EXPECT_EQ(readOnlyCall(db.connection(), name), "Replaced");
    EXPECT_EQ(integrity(db.path()), "ok");
  }
}

// The last connection to a WAL file that closes folds the log into it and removes the log and the
// shared-memory index: what stands beside the file between calls shows what the library still holds.
TEST(ConnectionLifetime, NothingOfTheFileIsHeldBetweenCalls) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  auto besideTheFile = [&] {
    return std::filesystem::exists(db.path() + "-wal") || std::filesystem::exists(db.path() + "-shm");
  };
  EXPECT_EQ(readOnlyCall(c, "SELECT COUNT(*) FROM t_Item"), "3");
  EXPECT_FALSE(besideTheFile()) << "after a read-only call";
  c.Execute("UPDATE t_Item SET FName = 'Written' WHERE FItemID = 1");
  c.CloseConn();
  EXPECT_FALSE(besideTheFile()) << "after a call that wrote";
  {
    sql::ReadSession session;
    EXPECT_EQ(readOnlyCall(c, "SELECT FName FROM t_Item WHERE FItemID = 1"), "Written");
    EXPECT_TRUE(besideTheFile()) << "kept for the next page of the call";
  }
  EXPECT_FALSE(besideTheFile()) << "after the call of many pages";
  // A connection dropped without CloseConn is closed as well.
  {
    sql::Connection dropped;
    dropped.setConnString(db.connectString());
    dropped.ForbidWrites();
    dropped.HoldReads();
    EXPECT_EQ(CStr(dropped.GetAnyRecordSet("SELECT COUNT(*) FROM t_Item")->Value(std::size_t{0})), "3");
  }
  EXPECT_FALSE(besideTheFile()) << "after a dropped connection";
}

TEST(ConnectionLifetime, EachPageOfASessionReadsTheDatabaseAsItStandsWhenThePageStarts) {
  SqlFixture db;
  sql::ReadSession session;
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

TEST(ConnectionLifetime, ASessionOpensAnewAFilePutInPlaceOfTheOldOne) {
  SqlFixture db, other;
  write(other.path(), "UPDATE t_Item SET FName = 'Replaced' WHERE FItemID = 1");
  sql::ReadSession session;
  const std::string name = "SELECT FName FROM t_Item WHERE FItemID = 1";
  EXPECT_EQ(readOnlyCall(db.connection(), name), "Bolt");
  std::filesystem::rename(other.path(), db.path());
  EXPECT_EQ(readOnlyCall(db.connection(), name), "Replaced");
}

TEST(ConnectionLifetime, ASessionOpensAnewASchemaChangedByAnotherProgram) {
  SqlFixture db;
  sql::ReadSession session;
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

TEST(ConnectionLifetime, AWriteWithinASessionGetsAConnectionThatWrites) {
  SqlFixture db;
  sql::ReadSession session;
  sql::Connection& c = db.connection();
  EXPECT_EQ(readOnlyCall(c, "SELECT COUNT(*) FROM t_Item"), "3");
  c.BeginTrans();
  c.Execute("UPDATE t_Item SET FName = 'Written' WHERE FItemID = 1");
  c.CommitTrans();
  c.CloseConn();
  EXPECT_EQ(readOnlyCall(c, "SELECT FName FROM t_Item WHERE FItemID = 1"), "Written");
  // Only the read-only connection was kept: the one that wrote closed.
  std::unique_ptr<sql::Database> kept = sql::ReadSession::TakeUp(db.path());
  ASSERT_NE(kept, nullptr);
  EXPECT_TRUE(kept->writesForbidden());
  EXPECT_EQ(sql::ReadSession::TakeUp(db.path()), nullptr);
}

// A kept connection serves the later pages of the call: what one page's own statements set must not
// reach them.
TEST(ConnectionLifetime, AReadOnlyCallCannotChangeTheSettingsOfTheConnection) {
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
