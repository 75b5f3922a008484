// The connection component: its connection string, opening on use, transactions as ADO keeps them,
// the provider's errors, and a second connection reading beside a writer.
#include <gtest/gtest.h>

#include "platform/automation/factory.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "support/automation_test.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t kNoTransaction = static_cast<std::int32_t>(0x8004D00Eu);

std::int32_t countOf(sql::Connection& c, const std::string& where) {
  return CLng(c.GetAnyRecordSet("SELECT COUNT(*) FROM t_Item WHERE " + where)->Value(0));
}

TEST(ConnectionString, NamesTheOneProviderItSupports) {
  SqlFixture db;
  const std::pair<std::string, std::int32_t> refused[] = {
      {"Provider=SQLOLEDB.1;Data Source=server;Initial Catalog=acct", static_cast<std::int32_t>(0x800A0E7Au)},
      {"Data Source=" + db.path(), static_cast<std::int32_t>(0x800A0E7Au)},
      {"Provider=SQLite", static_cast<std::int32_t>(0x80004005u)},
      {"Provider=SQLite;Data Source=" + db.folder().file("missing.db"), static_cast<std::int32_t>(0x80004005u)},
  };
  for (const auto& [text, number] : refused) {
    sql::Connection c;
    c.setConnString(text);
    AutomationError e = ErrorOf([&] { c.GetAnyRecordSet("SELECT 1"); });
    EXPECT_EQ(e.number, number) << text;
    EXPECT_FALSE(c.IsOpen());
  }
  // A file that cannot be made says why, as the system gave it.
  EXPECT_NE(ErrorOf([&] { sql::Database(db.folder().file("none/new.db"), sql::Database::Mode::CreateNew); })
                .description.find("unable to open database file (No such file or directory)"),
            std::string::npos);
  sql::Connection c;
  c.setConnString("Provider=SQLOLEDB;Data Source=x");
  EXPECT_NE(ErrorOf([&] { c.Execute("SELECT 1"); }).description.find("Provider=SQLite;Data Source=<file>"),
            std::string::npos);
  c.setConnString("provider = sqlite ; data source = \"" + db.path() + "\"");
  EXPECT_EQ(c.GetAnyRecordSet("SELECT 1")->Value(0), Variant(std::int32_t{1})) << "keys and values as ADO reads them";
}

TEST(ConnectionString, CarriesAnyPathToTheFileItNames) {
  // Each path is read back from its connection string as it was written: a ";" must not end it and so
  // open another file, nor a quote or blanks change it.
  for (const std::string path : {"/srv/a.db", "/srv/a;Data Source=b.db", "/srv/it's.db", "/srv/\"q\".db", " lead.db",
                                 "trail.db ", "\tlead.db", "trail.db\t", "/srv/{x}.db", "/srv/a=b.db", "/srv/'\";'.db"})
    EXPECT_EQ(sql::DataSourceOf(sql::ConnectStringOf(path)), path) << sql::ConnectStringOf(path);
  EXPECT_EQ(sql::ConnectStringOf("/srv/a.db"), "Provider=SQLite;Data Source=/srv/a.db") << "a plain path stays bare";
  const std::pair<std::string, std::string> written[] = {
      {"Provider=SQLite;Data Source='a;b.db'", "a;b.db"},
      {"Provider=SQLite;Data Source=\"x\"\"y\" ;Mode=Read", "x\"y"},
      {"Provider=SQLite;;Data Source = c.db ;", "c.db"},
      {"Data Source=d.db;Provider=SQLite", "d.db"},
  };
  for (const auto& [text, path] : written) EXPECT_EQ(sql::DataSourceOf(text), path) << text;
}

// A WAL file is written without a disk sync per commit (the caller syncs once when it closes); a file
// in another journal mode keeps a sync at every commit, which it needs to stay whole.
TEST(Connection, SyncsEveryCommitOnlyWhereTheJournalNeedsIt) {
  const std::pair<const char*, std::int32_t> cases[] = {{"wal", 1}, {"delete", 2}};
  for (const auto& [mode, synchronous] : cases) {
    SqlFixture db;
    {
      sql::Database file(db.path(), sql::Database::Mode::OpenExisting);
      file.execScript(std::string("PRAGMA journal_mode=") + mode);
    }
    sql::Connection& c = db.connection();
    EXPECT_EQ(CLng(c.GetAnyRecordSet("PRAGMA synchronous")->Value(0)), synchronous) << mode;
    c.Execute("UPDATE t_Item SET FName = 'x' WHERE FItemID = 1");
    c.CloseConn();
    EXPECT_EQ(CLng(c.GetAnyRecordSet("SELECT COUNT(*) FROM t_Item WHERE FName = 'x'")->Value(0)), 1) << mode;
  }
}

// A sync is owed for the commits a connection wrote to the file, never for one that only read: every
// export call would otherwise wait for the disk when it closes.
TEST(Connection, OwesADiskSyncOnlyForWhatItWrote) {
  struct Case {
    const char* name;
    const char* script;
    bool owed;
  };
  const Case cases[] = {
      {"opened", "", false},
      {"read", "SELECT COUNT(*) FROM t_Item", false},
      {"read in a transaction", "BEGIN; SELECT COUNT(*) FROM t_Item; COMMIT", false},
      {"wrote", "UPDATE t_Item SET FName = 'x' WHERE FItemID = 1", true},
  };
  SqlFixture db;
  for (const Case& c : cases) {
    sql::Database file(db.path(), sql::Database::Mode::OpenExisting);
    file.execScript(c.script);
    EXPECT_EQ(file.owesSync(), c.owed) << c.name;
    file.makeDurable();
    EXPECT_FALSE(file.owesSync()) << c.name;
  }
}

TEST(Connection, OpensOnFirstUseAndAgainAfterCloseConn) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  EXPECT_FALSE(c.IsOpen());
  EXPECT_EQ(countOf(c, "1=1"), 3);
  EXPECT_TRUE(c.IsOpen());
  c.CloseConn();
  EXPECT_FALSE(c.IsOpen());
  c.Execute("DELETE FROM t_Item WHERE FItemID = 3");
  EXPECT_EQ(countOf(c, "1=1"), 2);
  c.setConnString(c.ConnString());
  EXPECT_TRUE(c.IsOpen()) << "the same string keeps the database open";
}

TEST(Connection, TransactionsCommitAndRollBack) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  EXPECT_EQ(c.BeginTrans(), 1);
  c.Execute("INSERT INTO t_Item (FItemClassID, FNumber, FName) VALUES (4, '03', 'Washer')");
  c.RollbackTrans();
  EXPECT_EQ(countOf(c, "FNumber = '03'"), 0);
  c.BeginTrans();
  c.Execute("INSERT INTO t_Item (FItemClassID, FNumber, FName) VALUES (4, '03', 'Washer')");
  c.CommitTrans();
  c.CloseConn();
  EXPECT_EQ(countOf(c, "FNumber = '03'"), 1);
}

// The import loop rolls a failed record back and then commits it; the error must be one the loop can
// resume past, leaving the connection as good as before.
TEST(Connection, CommitOrRollbackWithoutATransactionRaisesAndChangesNothing) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.BeginTrans();
  AutomationError failed = ErrorOf([&] {
    c.Execute("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (1, 4, 'x', 'y')");
  });
  EXPECT_EQ(failed.number, static_cast<std::int32_t>(0x80040E2Fu));
  c.RollbackTrans();
  for (auto call : {&sql::Connection::CommitTrans, &sql::Connection::RollbackTrans}) {
    AutomationError e = ErrorOf([&] { (c.*call)(); });
    EXPECT_EQ(e.number, kNoTransaction);
    EXPECT_EQ(e.source, sql::kProviderSource);
  }
  c.BeginTrans();
  c.Execute("INSERT INTO t_Item (FItemClassID, FNumber, FName) VALUES (4, '04', 'Pin')");
  c.CommitTrans();
  EXPECT_EQ(countOf(c, "FNumber = '04'"), 1);
  sql::Connection fresh;
  fresh.setConnString(db.connectString());
  EXPECT_EQ(ErrorOf([&] { fresh.RollbackTrans(); }).number, kNoTransaction) << "nor does it open the database";
  EXPECT_FALSE(fresh.IsOpen());
}

TEST(Connection, OneTransactionAtATimeAndCloseConnRollsBack) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.BeginTrans();
  EXPECT_EQ(ErrorOf([&] { c.BeginTrans(); }).number, static_cast<std::int32_t>(0x8004D013u));
  c.Execute("DELETE FROM t_Item");
  EXPECT_EQ(ErrorOf([&] { c.setConnString("Provider=SQLite;Data Source=other.db"); }).number,
            static_cast<std::int32_t>(0x800A0E79u)) << "the transaction keeps its database";
  c.CloseConn();
  EXPECT_EQ(countOf(c, "1=1"), 3);
}

TEST(Connection, AFailedStatementInATransactionUndoesItsBatchOnly) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.BeginTrans();
  c.Execute("UPDATE t_Item SET FName = 'kept' WHERE FItemID = 1");
  ErrorOf([&] {
    c.Execute("UPDATE t_Item SET FName = 'undone' WHERE FItemID = 2\r\nINSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (1, 4, 'x', 'y')");
  });
  c.CommitTrans();
  EXPECT_EQ(RenderRows(*c.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID < 3 ORDER BY FItemID")), "kept;Nut");
}

// SQLite stops reading statement text at a NUL; the literal must still arrive whole.
TEST(Connection, ALiteralHoldingNulCharactersIsStoredWhole) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  const std::string name("a\0b''\0", 6);
  c.Execute("UPDATE t_Item SET FName = N'" + name + "' WHERE FItemID = 1");
  EXPECT_EQ(c.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 1")->Value(0), Variant(std::string("a\0b'\0", 5)));
  EXPECT_EQ(countOf(c, "FName = '" + name + "'"), 1);
}

// A rights check reads over a connection of its own while an import holds its transaction.
TEST(Connection, ASecondConnectionReadsWhileTheFirstWrites) {
  SqlFixture db;
  sql::Connection& writer = db.connection();
  writer.BeginTrans();
  writer.Execute("UPDATE t_Item SET FName = 'changed' WHERE FItemID = 1");
  sql::Connection reader;
  reader.setConnString(db.connectString());
  EXPECT_EQ(reader.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 1")->Value(0), Variant("Bolt"));
  writer.CommitTrans();
  EXPECT_EQ(reader.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 1")->Value(0), Variant("changed"));
  EXPECT_EQ(RenderRows(*reader.GetAnyRecordSet("PRAGMA journal_mode")), "wal");
}

TEST(Connection, LateBoundThroughTheClassFactory) {
  SqlFixture db;
  ObjectRef c = CreateObject("VLMConnection.Connection");
  c->Let("ConnString", Variant(db.connectString()));
  std::vector<Variant> query{Variant("SELECT FName FROM t_Item WHERE FItemID = 2")};
  ObjectRef rs = c->Call("GetAnyRecordSet", query).object();
  EXPECT_EQ(rs->Get("RecordCount"), Variant(std::int32_t{1}));
  std::vector<Variant> statement{Variant("UPDATE t_Item SET FName = 'X' WHERE FItemID = 2")};
  c->Call("Execute", statement);
  std::vector<Variant> none;
  c->Call("BeginTrans", none);
  c->Call("RollbackTrans", none);
  std::vector<Variant> defaults{Variant(std::int32_t{3001}), Variant(db.connectString())};
  EXPECT_EQ(c->Call("AddDefault", defaults), Variant(true));
  c->Call("CloseConn", none);
  EXPECT_EQ(c->Get("ConnString"), Variant(db.connectString()));
}

}  // namespace
}  // namespace quillane::testing
