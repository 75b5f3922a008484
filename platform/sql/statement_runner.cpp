#include "platform/sql/statement_runner.h"

#include <charconv>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/automation/errors.h"
#include "platform/sql/database.h"
#include "platform/sql/rewriter.h"
#include "platform/sql/statement_cache.h"
#include "platform/sql/statement_shape.h"

namespace quillane::sql {
namespace {

// A literal of the statement bound where its shape has a parameter, as the value SQLite would have
// read from the literal: integers that fit 64 bits as integers, other numbers as reals. An exact
// number (no exponent) with more digits than a real keeps is bound as its text: the store function,
// handed the parameter as the literal's digits too (column_writes.h), keeps every one.
void bindLiteral(Statement& stmt, int index, const Token& t) {
  if (t.kind == TokenKind::String) return stmt.bindText(index, t.text);
  if (t.kind == TokenKind::Binary) return stmt.bindBlob(index, BinaryLiteralBytes(t.text));
  std::int64_t integer = 0;
  const char* end = t.text.data() + t.text.size();
  if (t.text.find_first_of(".eE") == std::string::npos) {
    auto [stop, ec] = std::from_chars(t.text.data(), end, integer);
    if (ec == std::errc() && stop == end) return stmt.bindInteger(index, integer);
  }
  if (ExactBeyondDouble(t.text)) return stmt.bindText(index, t.text);
  stmt.bindReal(index, std::strtod(t.text.c_str(), nullptr));
}

std::optional<Rowset> rowsOf(Statement& stmt, const std::vector<RowsetColumn>& columns) {
  if (columns.empty()) {
    while (stmt.step()) {
    }
    return std::nullopt;
  }
  return Rowset{columns, stmt.readRows(columns)};
}

std::optional<Rowset> runAsWritten(Database& db, std::span<const Token> statement) {
  Statement stmt(db, RewriteStatement(statement, db));
  return rowsOf(stmt, stmt.columns());
}

// The prepared statement of a shape seen for the first time; nothing when its text does not prepare
// with parameters where the literals stood (the statement as written then says what is wrong with it).
std::optional<StatementCache::Entry> prepare(Database& db, std::span<const Token> statement,
                                             const StatementShape& shape) {
  StatementCache::Entry entry;
  try {
    entry.statement = std::make_unique<Statement>(db, RewriteStatement(WithParameters(statement, shape), db));
  } catch (const AutomationError&) {
    return std::nullopt;
  }
  entry.columns = entry.statement->columns();
  entry.writes = statement[0].is("INSERT") || statement[0].is("UPDATE");
  return entry;
}

// Leaves a cached statement ready for its next run, whatever happened in this one.
struct ResetAfterwards {
  Statement& stmt;
  ~ResetAfterwards() { stmt.reset(); }
};

}  // namespace

std::optional<Rowset> RunStatement(Database& db, std::span<const Token> statement) {
  StatementCache& cache = db.statements();
  std::optional<StatementShape> shape = cache.capacity() > 0 ? ShapeOf(statement) : std::nullopt;
  if (!shape) return runAsWritten(db, statement);
  StatementCache::Entry* entry = cache.find(shape->key);
  if (!entry) {
    std::optional<StatementCache::Entry> fresh = prepare(db, statement, *shape);
    if (!fresh) return runAsWritten(db, statement);
    entry = &cache.add(std::move(shape->key), std::move(*fresh));
  }
  Statement& stmt = *entry->statement;
  ResetAfterwards reset{stmt};
  for (std::size_t p = 0; p < shape->parameters.size(); ++p)
    bindLiteral(stmt, static_cast<int>(p + 1), statement[shape->parameters[p]]);
  return rowsOf(stmt, entry->columns);
}

bool RunCachedShape(Database& db, const std::string& shapeKey, std::span<const Token> literals,
                    std::span<const std::size_t> parameterOf, std::optional<Rowset>& rows) {
  StatementCache::Entry* entry = db.statements().find(shapeKey);
  if (!entry) return false;
  Statement& stmt = *entry->statement;
  ResetAfterwards reset{stmt};
  for (std::size_t k = 0; k < literals.size(); ++k)
    if (parameterOf[k] > 0) bindLiteral(stmt, static_cast<int>(parameterOf[k]), literals[k]);
  rows = rowsOf(stmt, entry->columns);
  return true;
}

}  // namespace quillane::sql
