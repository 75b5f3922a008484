// The rewriter of the compatibility layer: one statement of SQL Server text as SQLite text. The
// library's statements reach the engine unchanged at the call site; what SQLite reads differently is
// changed here, token by token:
//   INSERT t ...            -> INSERT INTO t ...
//   SELECT TOP n ...        -> SELECT ... LIMIT n (at the end of that SELECT, also in a derived table)
//   IsNull(a, b)            -> ifnull(a, b)
//   object_id('t')          -> (SELECT id FROM sysobjects WHERE name = 't')
//   0x0102, 0x              -> X'0102', X''
//   a + b                   -> quillane_plus(a, b)   (text joins, numbers add: expression.h)
//   c LIKE p [ESCAPE e]     -> the LIKE with the range of c's index it needs (like_bounds.h)
//   INSERT and UPDATE          values written go through the store function (column_writes.h)
//   CREATE TABLE / ALTER TABLE ... ADD: text columns get COLLATE NOCASE, as the account set declares them;
//                              "(max)" sizes become "(-1)", which SQLite reads and the value rules take
//                              for no limit
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/sql/column_writes.h"
#include "platform/sql/lexer.h"

namespace quillane::sql {

// A SELECT, INSERT, UPDATE or DELETE statement, or other text that needs only the token changes. The
// catalog gives the declared types of the columns an INSERT or UPDATE writes and a LIKE reads.
std::string RewriteStatement(std::span<const Token> tokens, ColumnCatalog& catalog);

// The condition of an IF as a query that returns 1 when it holds and 0 when not.
std::string RewriteCondition(std::span<const Token> condition);

// CREATE TABLE and ALTER TABLE ... ADD, which may add row-version columns.
struct TableChange {
  std::string table;
  std::vector<std::string> statements;         // SQLite text, run in order
  std::vector<std::string> rowVersionColumns;  // to be stamped once the statements have run
  bool addsColumns = false;                    // ALTER TABLE ... ADD: existing rows get their first stamp
};
bool IsTableChange(std::span<const Token> tokens);
TableChange RewriteTableChange(std::span<const Token> tokens);

}  // namespace quillane::sql
