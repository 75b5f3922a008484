// Statements kept prepared by their shape: a statement run again with other literals gives what it gives
// when it is rewritten and compiled afresh; what a literal decides (a column's name, an ORDER BY
// position) stays part of the shape; the cache is bounded and follows schema changes. And a connection
// that holds its reads sees one state of the database until it lets go.
#include <gtest/gtest.h>

#include "platform/sql/errors.h"
#include "platform/sql/statement_cache.h"
#include "support/automation_test.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

struct Repeat {
  const char* first;
  const char* firstRows;
  const char* second;  // the same shape with other literals (or what only looks so)
  const char* secondRows;
};

const Repeat kRepeats[] = {
    {"SELECT FName FROM t_Item WHERE FItemID = 1", "Bolt", "SELECT FName FROM t_Item WHERE FItemID = 2", "Nut"},
    {"SELECT FNumber FROM t_Item WHERE FName = 'bolt'", "01", "SELECT FNumber FROM t_Item WHERE FName = 'ACME'", "C1"},
    // select-list literals name and type the result's columns
    {"SELECT 'a', FItemID FROM t_Item WHERE FItemID = 1", "'a',FItemID: a,1",
     "SELECT 'b', FItemID FROM t_Item WHERE FItemID = 2", "'b',FItemID: b,2"},
    // an ORDER BY position is a column, not a value
    {"SELECT FNumber, FName FROM t_Item ORDER BY 1", "01,Bolt;02,Nut;C1,Acme",
     "SELECT FNumber, FName FROM t_Item ORDER BY 2", "C1,Acme;01,Bolt;02,Nut"},
    {"SELECT TOP 1 FNumber FROM t_Item ORDER BY FNumber", "01", "SELECT TOP 2 FNumber FROM t_Item ORDER BY FNumber",
     "01;02"},
    {"SELECT FNumber FROM t_Item WHERE FNumber LIKE '0!%' ESCAPE '!'", "", "SELECT FNumber FROM t_Item WHERE FNumber LIKE "
     "'0%' ESCAPE '!'", "01;02"},
    // a binary literal of no bytes is an empty byte string, not NULL
    {"SELECT COUNT(*) FROM t_Item WHERE FModifyTime > 0x0000000000000002", "1",
     "SELECT COUNT(*) FROM t_Item WHERE FModifyTime > 0x", "3"},
    // integers beyond a double's 53 bits stay exact
    {"SELECT 1 WHERE 9007199254740993 - 9007199254740992 = 1", "1", "SELECT 1 WHERE 9007199254740995 - 9007199254740992 = 3",
     "1"},
    // a shape whose text does not compile with parameters runs as written
    {"SELECT FName FROM t_Item WHERE FNumber = '0' + CAST(1 AS varchar(1))", "Bolt",
     "SELECT FName FROM t_Item WHERE FNumber = '0' + CAST(2 AS varchar(1))", "Nut"},
};

// The rows, after the columns' names when the statement names them by literals.
std::string rowsWithNames(sql::Recordset& rs) {
  std::string names;
  for (std::int32_t c = 0; c < rs.FieldCount(); ++c)
    names += (c ? "," : "") + rs.FieldName(static_cast<std::size_t>(c));
  return (names.find('\'') == std::string::npos ? "" : names + ": ") + RenderRows(rs);
}

void PrintTo(const Repeat& c, std::ostream* os) { *os << c.first; }

class StatementCache : public ::testing::TestWithParam<Repeat> {};

TEST_P(StatementCache, ASecondRunGivesWhatItsOwnTextGives) {
  const Repeat& c = GetParam();
  SqlFixture cached;
  EXPECT_EQ(rowsWithNames(*cached.connection().GetAnyRecordSet(c.first)), c.firstRows);
  EXPECT_EQ(rowsWithNames(*cached.connection().GetAnyRecordSet(c.second)), c.secondRows) << "run after " << c.first;
  SqlFixture fresh;
  fresh.connection().database().statements().setCapacity(0);
  EXPECT_EQ(rowsWithNames(*fresh.connection().GetAnyRecordSet(c.second)), c.secondRows) << "compiled as written";
}

INSTANTIATE_TEST_SUITE_P(Table, StatementCache, ::testing::ValuesIn(kRepeats));

TEST(StatementCacheBound, KeepsNoMoreThanItsCapacity) {
  SqlFixture db;
  sql::StatementCache& cache = db.connection().database().statements();
  cache.setCapacity(3);
  for (const char* column : {"FItemID", "FNumber", "FName", "FDetail", "FParentID"})
    db.connection().GetAnyRecordSet(std::string("SELECT ") + column + " FROM t_Item WHERE FItemID = 1");
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_EQ(CStr(db.connection().GetAnyRecordSet("SELECT FNumber FROM t_Item WHERE FItemID = 2")->Value(0)), "02");
}

TEST(StatementCacheBound, AWriteFollowsTheTypeOfATableMadeAgain) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.Execute("CREATE TABLE t_Again (FValue int)");
  c.Execute("INSERT INTO t_Again (FValue) VALUES ('12')");
  c.Execute("DROP TABLE t_Again");
  c.Execute("CREATE TABLE t_Again (FValue varchar(1))");
  AutomationError e = ErrorOf([&] { c.Execute("INSERT INTO t_Again (FValue) VALUES ('34')"); });
  EXPECT_EQ(e.description, "String or binary data would be truncated.");
}

// Another connection names item 1 so.
void writeBeside(SqlFixture& db, const std::string& name) {
  sql::Connection other;
  other.setConnString(db.connectString());
  other.Execute("UPDATE t_Item SET FName = '" + name + "' WHERE FItemID = 1");
}

std::string nameOfOne(sql::Connection& c) {
  return CStr(c.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 1")->Value(0));
}

TEST(HeldReads, SeeOneStateUntilCloseConn) {
  SqlFixture db;
  sql::Connection& c = db.connection();
  c.HoldReads();
  EXPECT_EQ(nameOfOne(c), "Bolt");
  writeBeside(db, "Changed");
  EXPECT_EQ(nameOfOne(c), "Bolt") << "the state the first read saw";
  EXPECT_EQ(ErrorOf([&] { c.CommitTrans(); }).description, "No transaction is active.");
  c.CloseConn();
  EXPECT_EQ(nameOfOne(c), "Changed");
  writeBeside(db, "Later");
  EXPECT_EQ(nameOfOne(c), "Later") << "without a hold every statement reads what is there";
}

TEST(HeldReads, EndWhenTheConnectionWrites) {
  for (bool inTransaction : {false, true}) {
    SqlFixture db;
    sql::Connection& c = db.connection();
    c.HoldReads();
    EXPECT_EQ(nameOfOne(c), "Bolt");
    if (inTransaction) c.BeginTrans();
    c.Execute("UPDATE t_Item SET FName = 'Mine' WHERE FItemID = 2");
    if (inTransaction) c.CommitTrans();
    sql::Connection other;
    other.setConnString(db.connectString());
    EXPECT_EQ(CStr(other.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 2")->Value(0)), "Mine")
        << "committed, not kept in the held transaction";
    writeBeside(db, "Changed");
    EXPECT_EQ(nameOfOne(c), "Changed") << "reads are no longer held";
  }
}

}  // namespace
}  // namespace quillane::testing
