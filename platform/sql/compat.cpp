#include "platform/sql/compat.h"

#include <cstdint>
#include <cstdlib>

#include "platform/sql/batch.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/procedures.h"
#include "platform/sql/rewriter.h"
#include "platform/sql/rowversion.h"
#include "platform/sql/statement_cache.h"
#include "platform/sql/statement_runner.h"
#include "platform/sql/statement_shape.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {
namespace {

Variant numberValue(const std::string& text, bool negative) {
  std::string signedText = (negative ? "-" : "") + text;
  if (text.find_first_of(".eE") == std::string::npos) {
    long long value = std::strtoll(signedText.c_str(), nullptr, 10);
    if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<std::int32_t>(value));
  }
  return Variant(std::strtod(signedText.c_str(), nullptr));
}

class BatchRunner {
 public:
  explicit BatchRunner(Database& db) : db_(db) {}

  std::optional<Rowset> run(const std::vector<BatchStatement>& statements) {
    for (const BatchStatement& s : statements) statement(s);
    return std::move(first_);
  }

 private:
  void statement(const BatchStatement& s) {
    switch (s.kind) {
      case BatchStatement::Kind::Simple: simple(s.tokens); return;
      case BatchStatement::Kind::Block:
        for (const BatchStatement& inner : s.body) statement(inner);
        return;
      case BatchStatement::Kind::If: {
        Rowset answer = db_.query(RewriteCondition(s.tokens));
        bool holds = !answer.rows.empty() && answer.rows[0][0] == Variant(std::int32_t{1});
        if (holds) statement(s.body[0]);
        else if (s.body.size() > 1) statement(s.body[1]);
        return;
      }
    }
  }

  void simple(std::span<const Token> t) {
    if (t[0].is("EXEC") || t[0].is("EXECUTE")) return execute(t);
    if (t.size() == 6 && t[0].is("ALTER") && t[1].is("TABLE") && (t[3].is("DISABLE") || t[3].is("ENABLE")) &&
        t[4].is("TRIGGER"))
      return SetTriggerEnabled(db_, t[2].text, t[5].text, t[3].is("ENABLE"));
    if (IsTableChange(t)) return tableChange(RewriteTableChange(t));
    std::optional<Rowset> rows = RunStatement(db_, t);
    if (rows && !first_) first_ = std::move(rows);
  }

  void tableChange(const TableChange& change) {
    for (const std::string& sql : change.statements) db_.execScript(sql);
    for (const std::string& column : change.rowVersionColumns) {
      InstallRowVersion(db_, change.table, column);
      // As in SQL Server, the rows already there get their stamps when the column is added.
      if (change.addsColumns) db_.execScript("UPDATE " + QuoteIdentifier(change.table) + " SET " + QuoteIdentifier(column) + " = NULL");
    }
  }

  // EXEC[UTE] [schema.]name [argument [, argument]...]; arguments are literals.
  void execute(std::span<const Token> t) {
    std::size_t k = 1;
    if (k >= t.size()) SyntaxErrorNear(&t[0]);
    std::string name = t[k++].text;
    while (k + 1 < t.size() && t[k].isSymbol(".")) {
      name = t[k + 1].text;
      k += 2;
    }
    std::vector<Variant> args;
    while (k < t.size()) {
      if (!args.empty()) {
        if (!t[k].isSymbol(",")) SyntaxErrorNear(&t[k]);
        if (++k >= t.size()) SyntaxErrorNear(&t[k - 1]);
      }
      bool negative = t[k].isSymbol("-") && k + 1 < t.size() && t[k + 1].kind == TokenKind::Number;
      if (negative) ++k;
      const Token& a = t[k++];
      if (a.kind == TokenKind::Number) args.push_back(numberValue(a.text, negative));
      else if (a.kind == TokenKind::String) args.push_back(Variant(a.text));
      else if (a.kind == TokenKind::Binary) args.push_back(Variant(BinaryLiteralBytes(a.text)));
      else if (a.is("NULL")) args.push_back(Variant::null());
      else if (a.kind == TokenKind::Variable)
        throw ProviderError(OleDbError::ErrorsInCommand, "Named and variable arguments are not supported by the SQLite engine.");
      else SyntaxErrorNear(&a);
    }
    CallProcedure(db_, name, args);
  }

  Database& db_;
  std::optional<Rowset> first_;
};

// What a batch text is, for texts of its skeleton: one statement whose shape the cache now holds, with
// the parameter of each literal; else nothing (an empty shape key).
StatementCache::KnownText learn(Database& db, std::span<const Token> tokens,
                                const std::vector<BatchStatement>& statements, bool writes) {
  StatementCache::KnownText known;
  if (statements.size() != 1 || !IsPlainStatement(statements[0])) return known;
  std::span<const Token> statement = statements[0].tokens;
  std::optional<StatementShape> shape = ShapeOf(statement);
  if (!shape || !db.statements().find(shape->key)) return known;
  std::size_t parameter = 0;
  for (const Token& t : tokens) {
    if (!IsLiteral(t)) continue;
    const std::size_t position = static_cast<std::size_t>(&t - statement.data());
    if (&t < statement.data() || position >= statement.size()) return {};  // a literal outside the statement
    const bool bound = parameter < shape->parameters.size() && shape->parameters[parameter] == position;
    known.parameterOf.push_back(bound ? ++parameter : 0);
    known.keptText.push_back(bound ? std::string() : t.text);
  }
  known.shapeKey = std::move(shape->key);
  known.writes = writes;
  return known;
}

bool fits(const StatementCache::KnownText& known, std::span<const Token> literals) {
  if (known.shapeKey.empty() || literals.size() != known.parameterOf.size()) return false;
  for (std::size_t k = 0; k < literals.size(); ++k)
    if (known.parameterOf[k] == 0 && literals[k].text != known.keptText[k]) return false;
  return true;
}

// A text of a known skeleton run as the whole road would run it: outside a held read when it writes,
// on the statement cached for its shape. False, with nothing run, when it must take the whole road (a
// write outside a transaction takes a savepoint there; the shape may have been dropped).
bool runKnown(Database& db, const StatementCache::KnownText& known, std::span<const Token> literals,
              std::optional<Rowset>& rows) {
  if (known.writes) db.endHeldRead();
  else db.beginHeldRead();
  if (known.writes && !db.inTransaction()) return false;
  if (known.writes) db.prepareWrite();
  return RunCachedShape(db, known.shapeKey, literals, known.parameterOf, rows);
}

}  // namespace

bool RunKnownText(Database& db, const std::string& skeleton, std::span<const Token> literals,
                  std::optional<Rowset>& rows) {
  StatementCache& cache = db.statements();
  if (cache.capacity() == 0) return false;
  const StatementCache::KnownText* known = cache.findText(skeleton);
  return known && fits(*known, literals) && runKnown(db, *known, literals, rows);
}

std::optional<Rowset> RunBatch(Database& db, std::string_view tsql) {
  // The library sends the same statements with other values again and again: a text whose skeleton is
  // known skips the lexer, the batch parser and the shaping.
  StatementCache& cache = db.statements();
  std::string skeleton;
  std::vector<Token> literals;
  const bool hasSkeleton = cache.capacity() > 0 && LexSkeleton(tsql, skeleton, literals);
  if (hasSkeleton) {
    std::optional<Rowset> rows;
    if (RunKnownText(db, skeleton, literals, rows)) return rows;
  }
  const std::vector<Token> tokens = Lex(tsql);
  std::vector<BatchStatement> statements = ParseBatch(tokens);
  const bool writes = MayWrite(statements);
  // A write does not join a held read transaction: it would stay uncommitted with it.
  if (writes) db.endHeldRead();
  else db.beginHeldRead();
  // One SELECT, INSERT, UPDATE or DELETE needs no savepoint: SQLite undoes a failing statement itself.
  // A write outside a transaction takes the savepoint all the same, so that the engine's objects that
  // a first write installs roll back with it.
  if (statements.size() == 1 && IsPlainStatement(statements[0]) && (!writes || db.inTransaction())) {
    if (writes) db.prepareWrite();
    std::optional<Rowset> rows = BatchRunner(db).run(statements);
    if (hasSkeleton) cache.addText(std::move(skeleton), learn(db, tokens, statements, writes));
    return rows;
  }
  const bool ownTransaction = !db.inTransaction();
  db.execScript("SAVEPOINT quillane_batch");
  try {
    if (writes) db.prepareWrite();
    std::optional<Rowset> rows = BatchRunner(db).run(statements);
    db.execScript("RELEASE quillane_batch");
    if (hasSkeleton) cache.addText(std::move(skeleton), learn(db, tokens, statements, writes));
    return rows;
  } catch (...) {
    // A batch that began the transaction rolls all of it back: releasing the savepoint would commit,
    // and so touch the file, even with nothing left to write. Some failures (a full disk) end the
    // whole transaction in the engine; the savepoint is then gone.
    if (ownTransaction) {
      db.tryExec("ROLLBACK");
    } else {
      db.tryExec("ROLLBACK TO quillane_batch");
      db.tryExec("RELEASE quillane_batch");
    }
    throw;
  }
}

}  // namespace quillane::sql
