#include "platform/sql/column_writes.h"

#include "platform/sql/column_types.h"
#include "platform/sql/errors.h"
#include "platform/sql/stored_values.h"

namespace quillane::sql {
namespace {

using Tokens = std::vector<Token>;

constexpr const char* kSource = "quillane_source";
constexpr const char* kSourceColumn = "quillane_";  // and the column's position

// A [schema.]name at t[k]: the last part, and k moved past it; empty when no name stands there.
std::string nameAt(const Tokens& t, std::size_t& k) {
  if (k >= t.size() || !t[k].isName()) return {};
  std::string name = t[k++].text;
  while (k + 1 < t.size() && t[k].isSymbol(".") && t[k + 1].isName()) {
    name = t[k + 1].text;
    k += 2;
  }
  return name;
}

void append(Tokens& out, const Tokens& more) { out.insert(out.end(), more.begin(), more.end()); }

void appendList(Tokens& out, const std::vector<Tokens>& items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.push_back(Token{TokenKind::Symbol, ","});
    append(out, items[i]);
  }
}

// How a value written into one column is to be treated.
struct Target {
  std::string declared;  // the declared type text; empty: the value is left as it is
  bool isRowVersion = false;
};

Target targetOf(ColumnCatalog& catalog, std::string_view table, std::string_view column) {
  std::optional<std::string> declared = catalog.declaredType(table, column);
  if (!declared) return {};
  ColumnType type = ColumnTypeOf(*declared);
  if (type.isRowVersion) return Target{{}, true};
  return Target{type.sqlType == SqlType::Unknown ? std::string() : *declared, false};
}

// The digits of a value that is a number literal without an exponent, for the store function's third
// argument: SQLite reads the literal as a double, which keeps 15 digits, and cannot tell 999.995 from
// 9.99995e2. A literal written in the statement that a double would not keep: its text with its sign;
// a shorter one: the literal again; a literal turned parameter: the parameter again, bound as the
// literal's text when a double would not keep it (statement_runner.cpp).
std::optional<Token> literalDigits(const Tokens& value) {
  std::size_t k = value.size() == 2 && (value[0].isSymbol("-") || value[0].isSymbol("+")) ? 1 : 0;
  if (value.size() != k + 1) return std::nullopt;
  if (value[k].kind == TokenKind::Parameter && value[k].forNumber) return Token{TokenKind::Parameter, value[k].text, true};
  if (value[k].kind != TokenKind::Number || HasExponent(value[k].text)) return std::nullopt;
  if (!ExactBeyondDouble(value[k].text)) return Token{TokenKind::Number, value[k].text, true};
  return Token{TokenKind::String, (k ? value[0].text : std::string()) + value[k].text, true};
}

// value as the argument of the store function, for a column of the declared type.
Tokens stored(const std::string& declared, Tokens value) {
  if (declared.empty() || value.empty()) return value;
  std::optional<Token> literal = literalDigits(value);
  Tokens call{Token{TokenKind::Word, kStoreFunction, value.front().spaceBefore}, Token{TokenKind::Symbol, "("},
              Token{TokenKind::String, declared}, Token{TokenKind::Symbol, ","}};
  value.front().spaceBefore = true;
  append(call, value);
  if (literal) append(call, {Token{TokenKind::Symbol, ","}, *literal});
  call.push_back(Token{TokenKind::Symbol, ")"});
  return call;
}

[[noreturn]] void rowVersionWritten(bool insert) {
  throw ProviderError(OleDbError::ErrorsInCommand,
                      insert ? "Cannot insert an explicit value into a timestamp column. Use INSERT with a column list "
                               "to exclude the timestamp column, or insert a DEFAULT into the timestamp column."
                             : "Cannot update a timestamp column.");
}

class InsertWrites {
 public:
  InsertWrites(Tokens& t, ColumnCatalog& catalog) : t_(t), catalog_(catalog) {}

  // INSERT INTO name [(columns)] VALUES (...)[, (...)] | SELECT ...
  void run() {
    std::size_t k = 2;
    std::string table = nameAt(t_, k);
    if (table.empty() || k >= t_.size()) return;
    std::vector<std::string> columns;
    bool listed = t_[k].isSymbol("(");
    std::size_t sourceAt = k;
    if (listed) {
      std::size_t close = MatchingParen(t_, k);
      if (close == t_.size()) return;
      for (const Tokens& part : SplitAtCommas(t_, k + 1, close)) {
        if (part.size() != 1 || !part[0].isName()) return;
        columns.push_back(part[0].text);
      }
      sourceAt = close + 1;
    } else {
      columns = catalog_.columnNames(table);
    }
    targets_.clear();
    bool any = false;
    for (const std::string& column : columns) {
      Target target = targetOf(catalog_, table, column);
      // Unlisted, a row-version column takes whatever value: its trigger stamps the row afterwards.
      if (target.isRowVersion && listed) rowVersionWritten(true);
      any = any || !target.declared.empty();
      targets_.push_back(std::move(target));
    }
    if (!any || sourceAt >= t_.size()) return;
    if (t_[sourceAt].is("VALUES")) values(sourceAt + 1);
    else if (t_[sourceAt].is("SELECT")) select(sourceAt, columns, listed);
  }

 private:
  std::string declaredAt(std::size_t i) const { return i < targets_.size() ? targets_[i].declared : std::string(); }

  void values(std::size_t k) {
    Tokens out(t_.begin(), t_.begin() + static_cast<std::ptrdiff_t>(k));
    while (k < t_.size() && t_[k].isSymbol("(")) {
      std::size_t close = MatchingParen(t_, k);
      if (close == t_.size()) return;
      std::vector<Tokens> row = SplitAtCommas(t_, k + 1, close);
      for (std::size_t i = 0; i < row.size(); ++i) row[i] = stored(declaredAt(i), std::move(row[i]));
      out.push_back(t_[k]);
      appendList(out, row);
      out.push_back(t_[close]);
      k = close + 1;
      if (k < t_.size() && t_[k].isSymbol(",")) out.push_back(t_[k++]);
      else break;
    }
    out.insert(out.end(), t_.begin() + static_cast<std::ptrdiff_t>(k), t_.end());
    t_ = std::move(out);
  }

  // The SELECT becomes a named source whose columns are numbered, and the INSERT reads them through
  // the store function: the SELECT itself, whatever its shape ("*", UNION, ORDER BY), stays intact.
  void select(std::size_t selectAt, const std::vector<std::string>& columns, bool listed) {
    std::vector<Tokens> names, values, targetNames;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      Token name{TokenKind::Word, kSourceColumn + std::to_string(i + 1)};
      names.push_back({name});
      values.push_back(stored(declaredAt(i), {name}));
      targetNames.push_back({Token{TokenKind::QuotedName, columns[i]}});
    }
    Tokens out{Token{TokenKind::Word, "WITH"}, Token{TokenKind::Word, kSource, true}, Token{TokenKind::Symbol, "(", true}};
    appendList(out, names);
    append(out, {Token{TokenKind::Symbol, ")"}, Token{TokenKind::Word, "AS", true}, Token{TokenKind::Symbol, "(", true}});
    out.insert(out.end(), t_.begin() + static_cast<std::ptrdiff_t>(selectAt), t_.end());
    out.push_back(Token{TokenKind::Symbol, ")"});
    // INSERT INTO name [(columns)]
    std::size_t headEnd = selectAt;
    out.insert(out.end(), t_.begin(), t_.begin() + static_cast<std::ptrdiff_t>(headEnd));
    out[out.size() - headEnd].spaceBefore = true;
    if (!listed) {
      out.push_back(Token{TokenKind::Symbol, "(", true});
      appendList(out, targetNames);
      out.push_back(Token{TokenKind::Symbol, ")"});
    }
    out.push_back(Token{TokenKind::Word, "SELECT", true});
    appendList(out, values);
    append(out, {Token{TokenKind::Word, "FROM", true}, Token{TokenKind::Word, kSource, true}});
    t_ = std::move(out);
  }

  Tokens& t_;
  ColumnCatalog& catalog_;
  std::vector<Target> targets_;
};

// UPDATE name SET column = value [, column = value] [FROM ...] [WHERE ...]
void updateWrites(Tokens& t, ColumnCatalog& catalog) {
  std::size_t k = 1;
  std::string table = nameAt(t, k);
  if (table.empty() || k >= t.size() || !t[k].is("SET")) return;
  std::size_t begin = k + 1, end = begin;
  for (int depth = 0; end < t.size(); ++end) {
    if (t[end].isSymbol("(")) ++depth;
    else if (t[end].isSymbol(")")) --depth;
    else if (depth == 0 && (t[end].is("FROM") || t[end].is("WHERE"))) break;
  }
  std::vector<Tokens> assignments = SplitAtCommas(t, begin, end);
  for (Tokens& a : assignments) {
    std::size_t at = 0;
    std::string column = nameAt(a, at);
    if (column.empty() || at >= a.size() || !a[at].isSymbol("=")) continue;
    Target target = targetOf(catalog, table, column);
    if (target.isRowVersion) rowVersionWritten(false);
    Tokens value(a.begin() + static_cast<std::ptrdiff_t>(at + 1), a.end());
    a.erase(a.begin() + static_cast<std::ptrdiff_t>(at + 1), a.end());
    append(a, stored(target.declared, std::move(value)));
  }
  Tokens out(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(begin));
  appendList(out, assignments);
  out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(end), t.end());
  t = std::move(out);
}

}  // namespace

void WrapColumnWrites(std::vector<Token>& tokens, ColumnCatalog& catalog) {
  if (tokens.size() > 2 && tokens[0].is("INSERT") && tokens[1].is("INTO")) InsertWrites(tokens, catalog).run();
  else if (tokens.size() > 3 && tokens[0].is("UPDATE")) updateWrites(tokens, catalog);
}

}  // namespace quillane::sql
