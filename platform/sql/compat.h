// The SQL Server compatibility layer: runs a batch of the library's SQL Server text on SQLite. The
// batch is lexed (lexer.h), cut into statements (batch.h), and each statement is either interpreted
// here (IF, BEGIN ... END, EXEC of a stored procedure, DISABLE / ENABLE TRIGGER) or rewritten into
// SQLite text (rewriter.h) and run, a SELECT, INSERT, UPDATE or DELETE as a statement kept prepared
// by its shape (statement_runner.h).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/sql/lexer.h"
#include "platform/sql/rowset.h"

namespace quillane::sql {

class Database;

// Runs every statement of the batch in order and returns the rows of the first one that returns rows.
// The batch is all or nothing: when a statement fails, what the batch did before it is undone (inside
// an open transaction, only the batch's part of it) and the error is raised.
std::optional<Rowset> RunBatch(Database& db, std::string_view tsql);

// A text of the skeleton (LexSkeleton) with these literals, run as RunBatch runs it once the connection
// has run a text of that skeleton: bound to the statement kept for it, without the text being written
// or lexed. False, with nothing run, where RunBatch would take the whole road: the caller then runs the
// text itself.
bool RunKnownText(Database& db, const std::string& skeleton, std::span<const Token> literals,
                  std::optional<Rowset>& rows);

}  // namespace quillane::sql
