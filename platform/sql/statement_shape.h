// The shape of a statement: its text with the literals that only carry values turned into parameters.
// The library sends the same few statements again and again with other numbers and names in them; two
// statements of one shape run as one prepared statement with other values bound, so the text is
// rewritten and compiled once (statement_cache.h).
//
// Literals that decide what a statement means rather than what it compares stay in the shape: those
// of a select list (they name and type the result's columns), of ORDER BY and GROUP BY (a number there
// is a column's position), the count of TOP, and the character after ESCAPE (a parameter there keeps
// SQLite from using an index for the LIKE).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/sql/lexer.h"

namespace quillane::sql {

struct StatementShape {
  std::string key;                      // the tokens, each literal turned parameter written as "?"
  std::vector<std::size_t> parameters;  // the positions of those literals, in order: ?1, ?2...
};

// A number, text or binary literal: what a shape may turn into a parameter.
bool IsLiteral(const Token& t);

// The shape of one statement of the library's text, as Lex gives its tokens; nothing for a statement
// that is not kept prepared: anything but SELECT, INSERT, UPDATE and DELETE, and a statement that asks
// object_id (its argument is a name, not a value).
std::optional<StatementShape> ShapeOf(std::span<const Token> statement);

// The statement with its literals turned parameters as parameter tokens ("?1", "?2"...).
std::vector<Token> WithParameters(std::span<const Token> statement, const StatementShape& shape);

}  // namespace quillane::sql
