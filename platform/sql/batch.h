// A batch of SQL Server text as statements. SQL Server needs no separator between statements, so the
// batch is cut where a new statement begins (a ";" or line break may stand there but need not): at a
// statement's first keyword outside parentheses and CASE, except where that keyword continues the
// statement before it (INSERT ... SELECT, UNION SELECT, ALTER TABLE ... DROP).
#pragma once

#include <span>
#include <vector>

#include "platform/sql/lexer.h"

namespace quillane::sql {

struct BatchStatement {
  enum class Kind {
    Simple,  // tokens: the statement
    If,      // tokens: the condition after IF; body: the statement for true, then the one after ELSE
    Block,   // BEGIN ... END; body: its statements
  };
  Kind kind = Kind::Simple;
  std::span<const Token> tokens;  // within the tokens handed to ParseBatch, which must outlive it
  std::vector<BatchStatement> body;
};

// The tokens as Lex gives them (their keywords recognised). Raises the provider's syntax error where the
// structure is broken (an END without BEGIN, an IF without a statement).
std::vector<BatchStatement> ParseBatch(std::span<const Token> tokens);

// A SELECT, INSERT, UPDATE or DELETE.
bool IsPlainStatement(const BatchStatement& statement);

// False when every statement of the batch is a SELECT (the conditions of IF are queries), so that
// running it cannot change the database.
bool MayWrite(std::span<const BatchStatement> statements);

}  // namespace quillane::sql
