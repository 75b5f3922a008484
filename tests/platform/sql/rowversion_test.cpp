// Row versions: one counter for the whole database, stamped by plain-SQL triggers, read back as 8
// bytes in stamp order, whichever program writes.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdlib>

#include "sql_fixture.h"

namespace quillane::testing {
namespace {

Bytes stampOf(sql::Connection& c, const std::string& table, const std::string& where) {
  return c.GetAnyRecordSet("SELECT FModifyTime FROM " + table + " WHERE " + where)->Value(0).as<Bytes>();
}

Bytes stamp(std::uint64_t n) {
  Bytes b(8);
  for (int k = 7; k >= 0; --k, n >>= 8) b[k] = static_cast<std::uint8_t>(n & 0xFF);
  return b;
}

TEST(RowVersion, StrictlyIncreasingAcrossTablesInsertsAndUpdates) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.Execute("CREATE TABLE t_Other (FID int NOT NULL PRIMARY KEY, FModifyTime timestamp, FText varchar(20))");
  EXPECT_EQ(stampOf(c, "t_Item", "FItemID = 3"), stamp(3));
  c.Execute("INSERT INTO t_Other (FID, FText) VALUES (1, 'a')");
  EXPECT_EQ(stampOf(c, "t_Other", "FID = 1"), stamp(4));
  c.Execute("UPDATE t_Item SET FName = FName WHERE FItemID = 1");
  EXPECT_EQ(stampOf(c, "t_Item", "FItemID = 1"), stamp(5));
  c.Execute("UPDATE t_Other SET FText = 'b'");
  EXPECT_EQ(stampOf(c, "t_Other", "FID = 1"), stamp(6));
  c.Execute("UPDATE t_Item SET FDetail = 0 WHERE FItemClassID = 4");
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT FModifyTime FROM t_Item ORDER BY FModifyTime")),
            "0x0000000000000003;0x0000000000000007;0x0000000000000008");
}

TEST(RowVersion, ContinuesAfterReopening) {
  SqlFixture db;
  db.connection().Execute("UPDATE t_Item SET FName = 'a' WHERE FItemID = 1");
  db.connection().CloseConn();
  sql::Connection other;
  other.setConnString(db.connectString());
  other.Execute("UPDATE t_Item SET FName = 'b' WHERE FItemID = 2");
  EXPECT_EQ(stampOf(other, "t_Item", "FItemID = 2"), stamp(5));
}

TEST(RowVersion, ComparesAndTakesMaxInStampOrderPastAByte) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.database().execScript("UPDATE quillane_rowversion SET FValue = 254");
  c.Execute("UPDATE t_Item SET FName = FName WHERE FItemID = 1\r\nUPDATE t_Item SET FName = FName WHERE FItemID = 2");
  EXPECT_EQ(stampOf(c, "t_Item", "FItemID = 2"), stamp(256));
  EXPECT_EQ(c.GetAnyRecordSet("SELECT MAX(FModifyTime) FROM t_Item")->Value(0), Variant(stamp(256)));
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT FItemID FROM t_Item WHERE FModifyTime > 0x00000000000000FF")), "2");
}

TEST(RowVersion, StampsWhatTheSqliteShellWrites) {
  if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sqlite3 shell";
  SqlFixture db;
  std::string shell = "sqlite3 '" + db.path() + "' ";
  ASSERT_EQ(std::system((shell + "\"INSERT INTO t_Item (FItemClassID, FNumber, FName) VALUES (4, '09', 'Shell'); "
                                 "UPDATE t_Item SET FName = 'Shell too' WHERE FItemID = 1;\"").c_str()),
            0);
  sql::Connection& c = db.connection();
  EXPECT_EQ(stampOf(c, "t_Item", "FNumber = '09'"), stamp(4));
  EXPECT_EQ(stampOf(c, "t_Item", "FItemID = 1"), stamp(5));
  c.Execute("UPDATE t_Item SET FName = 'here' WHERE FItemID = 2");
  EXPECT_EQ(stampOf(c, "t_Item", "FItemID = 2"), stamp(6));
}

// A file made by another program is only read until something writes: its first write brings the
// counter, the table of disabled triggers and the stamping triggers, inside that write's transaction, so
// a write that fails or is rolled back leaves the file as it was.
TEST(RowVersion, AFileMadeElsewhereGetsItsTriggersWithItsFirstWrite) {
  TempDir folder;
  std::string path = folder.file("plain.db");
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(raw,
                         "CREATE TABLE t_Plain (FText varchar(9) UNIQUE, FModifyTime TIMESTAMP); "
                         "INSERT INTO t_Plain (FText) VALUES ('old'); "
                         "CREATE TRIGGER t_Plain_Guard BEFORE DELETE ON t_Plain BEGIN SELECT RAISE(ABORT, 'kept'); END;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  const std::string original = ReadFile(path);

  sql::Connection c;
  c.setConnString("Provider=SQLite;Data Source=" + path);
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT name, type FROM sysobjects ORDER BY name")),
            "t_Plain,U;t_Plain_Guard,TR");
  EXPECT_THROW(c.Execute("INSERT INTO t_Plain (FText) VALUES ('old')"), AutomationError);
  c.BeginTrans();
  c.Execute("INSERT INTO t_Plain (FText) VALUES ('undone')");
  c.RollbackTrans();
  c.CloseConn();
  EXPECT_TRUE(ReadFile(path) == original) << "reading, a failed write and a rolled-back one changed the file";

  c.Execute("INSERT INTO t_Plain (FText) VALUES ('new')");
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT FText, FModifyTime FROM t_Plain ORDER BY FText")),
            "new,0x0000000000000001;old,NULL");
  c.Execute("ALTER TABLE t_Plain DISABLE TRIGGER t_Plain_Guard");
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT name, type FROM sysobjects WHERE type = 'TR'")), "t_Plain_Guard,TR")
      << "a disabled trigger stays in the catalogue";
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("PRAGMA journal_mode")), "delete") << "the file keeps its journal mode";
}

}  // namespace
}  // namespace quillane::testing
