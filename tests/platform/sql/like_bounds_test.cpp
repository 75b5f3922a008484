// A LIKE the layer gives an index range: it finds what SQLite's own LIKE finds, whatever the pattern,
// the escape and the column; the library's descendant statements search the number index instead of
// scanning the table, and running them with other numbers does not compile them again.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/sql/lexer.h"
#include "platform/sql/rewriter.h"
#include "platform/sql/statement_shape.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

// Numbers with the characters a pattern escapes, letters in both cases, the bytes around the ones a
// range is raised at ('@' below 'A', '[' above 'Z', 'z' and '{'), and non-ASCII letters, which LIKE
// compares exactly.
const char* const kNumbers[] = {
    "01",    "01.1",  "01.1.5", "01.2",  "011.1", "01/1",  "AB%C",   "AB%C.1", "ab%c.2", "ABXC.1", "a_b.1",
    "aXb.1", "Q[1].1", "q[1].2", "Q1.1", "Q\\1.1", "q\\1.2", "Z.1",   "z.2",    "[.1",    "@.1",    "`.1",
    "{.1",   "Zz",    "é.1",    "É.1",   "é",    "",      "%",     "_.1"};

// Patterns of every kind: the library's own (a number, escaped, then ".%"), and others that a caller's
// filter may hold.
struct Pattern {
  const char* pattern;
  const char* escape;  // nullptr: no ESCAPE clause
};
const Pattern kPatterns[] = {
    {"01.%", "\\"},    {"AB\\%C.%", "\\"}, {"ab\\%c.%", "\\"}, {"a\\_b.%", "\\"}, {"Q\\[1].%", "\\"},
    {"q\\\\1.%", "\\"}, {"z.%", "\\"},     {"@.%", "\\"},     {"`.%", "\\"},     {"é.%", "\\"},
    {"01.%", nullptr}, {"0_.%", nullptr}, {"%.1", nullptr},  {"_.1", nullptr},  {"", nullptr},
    {"01", nullptr},   {"AB%", nullptr},  {"01.1%5", nullptr}, {"%", nullptr},  {"z!.%", "!"},
    {"!%.1", "!"},     {"01%", "%"},      {"01.1", "\\"},    {"01\\", "\\"},    {"a_b.1", "_"}};

// The fixture's items replaced by one item of class 1 for each of the numbers.
class NumberedItems {
 public:
  NumberedItems() {
    sql::Database& db = fixture.connection().database();
    db.execScript("CREATE INDEX ix_Class_Number ON t_Item (FItemClassID, FNumber); DELETE FROM t_Item;");
    int id = 0;
    for (const char* number : kNumbers) {
      Variant values[] = {Variant(++id), Variant(std::string(number))};
      db.run("INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (?1, 1, ?2, 'n')", values);
    }
  }
  // The statement of the library's text with its literals bound, as the layer runs it.
  std::string rewritten(const std::string& text) {
    std::vector<sql::Token> tokens = sql::Lex(text);
    std::optional<sql::StatementShape> shape = sql::ShapeOf(tokens);
    return sql::RewriteStatement(sql::WithParameters(tokens, *shape), fixture.connection().database());
  }
  std::string rowsOf(const std::string& text) { return RenderRows(*fixture.connection().GetAnyRecordSet(text)); }

  SqlFixture fixture;
};

class LikeBounds : public ::testing::Test, public NumberedItems {};

std::string quoted(const char* text) { return "'" + std::string(text) + "'"; }

std::string likeOf(const std::string& subject, const Pattern& p) {
  return subject + " LIKE " + quoted(p.pattern) + (p.escape ? " ESCAPE " + quoted(p.escape) : "");
}

TEST_F(LikeBounds, FindsWhatSQLiteItselfFinds) {
  // Beside the number column: a qualified one, and columns that hold numbers and byte strings.
  const char* subjects[] = {"FNumber", "t.FNumber", "FItemID", "FModifyTime"};
  for (const char* subject : subjects) {
    for (const Pattern& p : kPatterns) {
      for (const char* negation : {"", "NOT "}) {
        const std::string text = "SELECT FItemID FROM t_Item t WHERE " + std::string(negation) + likeOf(subject, p) +
                                 " AND FItemClassID = 1 ORDER BY FItemID";
        SCOPED_TRACE(text);
        // SQLite's own LIKE: the text as it stands, which the layer does not touch.
        std::string expected;
        for (const auto& row : fixture.connection().database().query(text).rows)
          expected += (expected.empty() ? "" : ";") + CStr(row[0]);
        EXPECT_EQ(rowsOf(text), expected);
      }
    }
  }
}

TEST_F(LikeBounds, TheDescendantsOfANumberAreItsRowsBelowIt) {
  const struct {
    const char* pattern;
    const char* numbers;
  } cases[] = {
      {"01.%", "01.1;01.1.5;01.2"},
      {"AB\\%C.%", "AB%C.1;ab%c.2"},  // not ABXC.1
      {"a\\_b.%", "a_b.1"},           // not aXb.1
      {"Q\\[1].%", "Q[1].1;q[1].2"},  // not Q1.1
      {"q\\\\1.%", "Q\\1.1;q\\1.2"},
      {"z.%", "Z.1;z.2"},
      {"é.%", "é.1"},  // letters beyond ASCII keep their case
  };
  for (const auto& c : cases)
    EXPECT_EQ(rowsOf("SELECT FNumber FROM t_Item WHERE FNumber LIKE '" + std::string(c.pattern) +
                     "' ESCAPE '\\' AND FItemClassID = 1 ORDER BY FItemID"),
              c.numbers)
        << c.pattern;
}

TEST_F(LikeBounds, TheLibrarysDescendantStatementsSearchTheNumberIndex) {
  const std::string statements[] = {
      "UPDATE t_Item SET FName=FNumber  WHERE FNumber LIKE '01.%' ESCAPE '\\'  AND FItemClassID = 1",
      "UPDATE t_ICItem SET FNumber =i.F1  FROM (SELECT FNumber F1,FItemID FID1,FParentID FPID1 FROM t_Item WHERE "
      "FNumber LIKE '01.%' ESCAPE '\\' AND FItemClassID = 1) i WHERE FItemID=i.FID1 ",
  };
  for (const std::string& text : statements) {
    SCOPED_TRACE(text);
    Variant values[] = {Variant("01.%"), Variant(1)};
    std::string plan;
    for (const auto& row : fixture.connection().database().query("EXPLAIN QUERY PLAN " + rewritten(text), values).rows)
      plan += CStr(row[3]) + ";";
    EXPECT_NE(plan.find("INDEX ix_Class_Number (FItemClassID=? AND FNumber>? AND FNumber<?)"), std::string::npos)
        << plan;
  }
}

// Summed over the statements with a LIKE that the connection holds prepared.
int statusOfLikes(sql::Database& db, int status) {
  int sum = 0;
  for (sqlite3_stmt* s = sqlite3_next_stmt(db.handle(), nullptr); s; s = sqlite3_next_stmt(db.handle(), s))
    if (std::string_view(sqlite3_sql(s)).find(" LIKE ") != std::string_view::npos) sum += sqlite3_stmt_status(s, status, 0);
  return sum;
}

TEST_F(LikeBounds, ADescendantStatementRunsAgainWithoutBeingCompiledAgain) {
  sql::Connection& c = fixture.connection();
  NumberedItems reference;
  for (const char* number : kNumbers) {
    const std::string text = "UPDATE t_Item SET FName=FNumber  WHERE FNumber LIKE '" + std::string(number) +
                             ".%' ESCAPE '\\'  AND FItemClassID = 1";
    c.Execute(text);
    reference.fixture.connection().database().execScript(text);
  }
  const char* names = "SELECT FName FROM t_Item ORDER BY FItemID";
  EXPECT_EQ(rowsOf(names), reference.rowsOf(names));
  EXPECT_EQ(statusOfLikes(c.database(), SQLITE_STMTSTATUS_REPREPARE), 0);
  EXPECT_EQ(statusOfLikes(c.database(), SQLITE_STMTSTATUS_FULLSCAN_STEP), 0);
}

}  // namespace
}  // namespace quillane::testing
