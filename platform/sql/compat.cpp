#include "platform/sql/compat.h"

#include <cstdint>
#include <cstdlib>

#include "platform/sql/batch.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/procedures.h"
#include "platform/sql/rewriter.h"
#include "platform/sql/rowversion.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {
namespace {

Variant hexBytes(const std::string& hex) {
  std::string digits = (hex.size() % 2 ? "0" : "") + hex;
  Bytes bytes;
  for (std::size_t k = 0; k < digits.size(); k += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::strtoul(digits.substr(k, 2).c_str(), nullptr, 16)));
  return Variant(std::move(bytes));
}

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

  void simple(const std::vector<Token>& t) {
    if (t[0].is("EXEC") || t[0].is("EXECUTE")) return execute(t);
    if (t.size() == 6 && t[0].is("ALTER") && t[1].is("TABLE") && (t[3].is("DISABLE") || t[3].is("ENABLE")) &&
        t[4].is("TRIGGER"))
      return SetTriggerEnabled(db_, t[2].text, t[5].text, t[3].is("ENABLE"));
    if (IsTableChange(t)) return tableChange(RewriteTableChange(t));
    Statement stmt(db_, RewriteStatement(t, db_));
    if (stmt.returnsRows()) {
      Rowset rows = stmt.readAll();
      if (!first_) first_ = std::move(rows);
    } else {
      while (stmt.step()) {
      }
    }
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
  void execute(const std::vector<Token>& t) {
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
      else if (a.kind == TokenKind::Binary) args.push_back(hexBytes(a.text));
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

}  // namespace

std::optional<Rowset> RunBatch(Database& db, std::string_view tsql) {
  std::vector<BatchStatement> statements = ParseBatch(Lex(tsql));
  const bool ownTransaction = !db.inTransaction();
  db.execScript("SAVEPOINT quillane_batch");
  try {
    if (MayWrite(statements)) db.prepareWrite();
    std::optional<Rowset> rows = BatchRunner(db).run(statements);
    db.execScript("RELEASE quillane_batch");
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
