// One SELECT, INSERT, UPDATE or DELETE of the library's text run on SQLite: through the connection's
// cache of prepared statements when its shape allows (statement_shape.h, statement_cache.h), with its
// literals bound as the values they stand for; rewritten and compiled as written otherwise. Both roads
// give the same rows and the same errors.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/sql/lexer.h"
#include "platform/sql/rowset.h"

namespace quillane::sql {

class Database;

// The rows of the statement; nothing when it returns none. Raises the provider's error.
std::optional<Rowset> RunStatement(Database& db, std::span<const Token> statement);

// The statement of a shape the cache holds, run with the literals bound where parameterOf says (see
// StatementCache::KnownText). False, with nothing run, when the cache no longer holds the shape.
bool RunCachedShape(Database& db, const std::string& shapeKey, std::span<const Token> literals,
                    std::span<const std::size_t> parameterOf, std::optional<Rowset>& rows);

}  // namespace quillane::sql
