// Statements kept prepared by their shape: a statement run again with other literals gives what it gives
// when it is rewritten and compiled afresh; what a literal decides (a column's name, an ORDER BY
// position) stays part of the shape; the cache is bounded and follows schema changes. And a connection
// that holds its reads sees one state of the database until it lets go.
#include <gtest/gtest.h>

#include "platform/sql/errors.h"
#include "platform/sql/lexer.h"
#include "platform/sql/statement_cache.h"
#include "platform/sql/statement_shape.h"
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

// The second round runs texts the connection knows by their skeleton, without lexing them again.
TEST(HeldReads, EndWhenTheConnectionWrites) {
  for (bool inTransaction : {false, true}) {
    SqlFixture db;
    sql::Connection& c = db.connection();
    std::string before = "Bolt";
    for (const char* mine : {"Mine", "Again"}) {
      SCOPED_TRACE(mine);
      c.HoldReads();
      EXPECT_EQ(nameOfOne(c), before);
      if (inTransaction) c.BeginTrans();
      c.Execute(std::string("UPDATE t_Item SET FName = '") + mine + "' WHERE FItemID = 2");
      if (inTransaction) c.CommitTrans();
      sql::Connection other;
      other.setConnString(db.connectString());
      EXPECT_EQ(CStr(other.GetAnyRecordSet("SELECT FName FROM t_Item WHERE FItemID = 2")->Value(0)), mine)
          << "committed, not kept in the held transaction";
      before = std::string("Changed") + mine;
      writeBeside(db, before);
      EXPECT_EQ(nameOfOne(c), before) << "reads are no longer held";
    }
  }
}

// Two texts of one skeleton lex alike but for the values of their literals (a number with an exponent
// apart from one without), which the skeleton gives as Lex gives them; texts that lex otherwise have
// other skeletons.
TEST(Skeletons, TellTextsApartAsTheLexerDoes) {
  struct Case {
    const char* first;
    const char* second;
    bool same;
  };
  const Case cases[] = {
      {"SELECT a FROM t WHERE b = 1", "SELECT a FROM t WHERE b = 22.5", true},
      {"SELECT a FROM t WHERE b = 2e1", "SELECT a FROM t WHERE b = 22.5E3", true},
      {"SELECT a FROM t WHERE b = 'x'", "SELECT a FROM t WHERE b = 'it''s'", true},
      {"SELECT a FROM t WHERE b = 'x'", "SELECT a FROM t WHERE b = N'x'", true},
      {"SELECT a FROM t WHERE b > 0x01FF", "SELECT a FROM t WHERE b > 0x", true},
      {"-- it's\nSELECT a FROM t WHERE b = 1", "-- it's\nSELECT a FROM t WHERE b = 2", true},
      {"SELECT [a'b] FROM t WHERE b = 1", "SELECT [a'b] FROM t WHERE b = 2", true},
      {"SELECT a FROM t WHERE b = 1", "SELECT a FROM t WHERE b = '1'", false},
      {"SELECT a FROM t WHERE b = 1", "SELECT a FROM t WHERE b =  1", false},
      // A number with an exponent is a float to SQL Server, one without numeric (column_writes.h).
      {"SELECT a FROM t WHERE b = 1", "SELECT a FROM t WHERE b = 22.5E3", false},
      {"SELECT a FROM t WHERE b = 1", "SELECT a FROM t WHERE b = 1\nSELECT 2", false},
      {"SELECT 0ELSE", "SELECT 0E1", false},
      {"SELECT a FROM t WHERE b = c1", "SELECT a FROM t WHERE b = c 1", false},
      {"SELECT a /* 'x' */ FROM t", "SELECT a /* 'y' */ FROM t", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " | " + c.second);
    std::string skeletons[2];
    for (int k = 0; k < 2; ++k) {
      std::string_view text = k == 0 ? c.first : c.second;
      std::vector<sql::Token> literals, lexed;
      ASSERT_TRUE(sql::LexSkeleton(text, skeletons[k], literals));
      for (const sql::Token& t : sql::Lex(text))
        if (sql::IsLiteral(t)) lexed.push_back(t);
      ASSERT_EQ(literals.size(), lexed.size());
      for (std::size_t l = 0; l < lexed.size(); ++l) {
        EXPECT_EQ(literals[l].kind, lexed[l].kind);
        EXPECT_EQ(literals[l].text, lexed[l].text);
      }
    }
    EXPECT_EQ(skeletons[0] == skeletons[1], c.same);
  }
  std::string skeleton;
  std::vector<sql::Token> literals;
  EXPECT_FALSE(sql::LexSkeleton("SELECT 'unclosed", skeleton, literals)) << "the whole road raises the error";
  EXPECT_FALSE(sql::LexSkeleton("SELECT '\x01'", skeleton, literals)) << "the skeleton's own marks";
}

}  // namespace
}  // namespace quillane::testing
