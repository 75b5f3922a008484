#include "platform/sql/rewriter.h"

#include "platform/sql/column_types.h"
#include "platform/sql/errors.h"
#include "platform/sql/expression.h"
#include "platform/sql/like_bounds.h"

namespace quillane::sql {
namespace {

using Tokens = std::vector<Token>;

[[noreturn]] void unsupported(const std::string& what) {
  throw ProviderError(OleDbError::ErrorsInCommand, what + " is not supported by the SQLite engine.");
}

void insertAt(Tokens& t, std::size_t at, const Tokens& what) {
  t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), what.begin(), what.end());
}

void rejectVariables(const Tokens& t) {
  for (const Token& tok : t)
    if (tok.kind == TokenKind::Variable) unsupported("The variable " + tok.text);
}

void addInsertInto(Tokens& t) {
  if (t.size() > 1 && t[0].is("INSERT") && !t[1].is("INTO")) insertAt(t, 1, {Token{TokenKind::Word, "INTO", true}});
}

// Where the SELECT at `select` ends: the ")" that closes its level, a UNION of its level, or the end.
std::size_t selectEnd(const Tokens& t, std::size_t select) {
  int depth = 0;
  for (std::size_t k = select + 1; k < t.size(); ++k) {
    if (t[k].isSymbol("(")) {
      ++depth;
    } else if (t[k].isSymbol(")")) {
      if (depth == 0) return k;
      --depth;
    } else if (depth == 0 && (t[k].is("UNION") || t[k].is("EXCEPT") || t[k].is("INTERSECT"))) {
      return k;
    }
  }
  return t.size();
}

// SELECT [ALL | DISTINCT] TOP n | TOP (n): the count moves to a LIMIT at the end of that SELECT.
void moveTopToLimit(Tokens& t) {
  for (std::size_t k = 0; k < t.size(); ++k) {
    if (!t[k].is("SELECT")) continue;
    std::size_t top = k + 1;
    if (top < t.size() && (t[top].is("ALL") || t[top].is("DISTINCT"))) ++top;
    if (top >= t.size() || !t[top].is("TOP")) continue;
    std::size_t countEnd;
    if (top + 1 < t.size() && t[top + 1].kind == TokenKind::Number)
      countEnd = top + 2;
    else if (top + 1 < t.size() && t[top + 1].isSymbol("("))
      countEnd = MatchingParen(t, top + 1) + 1;
    else
      SyntaxErrorNear(&t[top]);
    if (countEnd > t.size()) SyntaxErrorNear(&t[top]);
    if (countEnd < t.size() && (t[countEnd].is("PERCENT") || t[countEnd].is("WITH")))
      unsupported("TOP ... " + t[countEnd].text);
    Tokens limit{Token{TokenKind::Word, "LIMIT", true}};
    limit.insert(limit.end(), t.begin() + static_cast<std::ptrdiff_t>(top + 1),
                 t.begin() + static_cast<std::ptrdiff_t>(countEnd));
    limit[1].spaceBefore = true;
    insertAt(t, selectEnd(t, k), limit);
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(top), t.begin() + static_cast<std::ptrdiff_t>(countEnd));
  }
}

void rewriteFunctions(Tokens& t) {
  for (std::size_t k = 0; k + 1 < t.size(); ++k) {
    if (!t[k + 1].isSymbol("(")) continue;
    if (t[k].is("IsNull")) {
      t[k].text = "ifnull";
    } else if (t[k].is("object_id")) {
      if (k + 3 >= t.size() || t[k + 2].kind != TokenKind::String || !t[k + 3].isSymbol(")"))
        unsupported("object_id of anything but a name in quotes");
      Tokens lookup = Lex("(SELECT id FROM sysobjects WHERE name = " + QuoteText(t[k + 2].text) + ")");
      lookup.front().spaceBefore = t[k].spaceBefore;
      t.erase(t.begin() + static_cast<std::ptrdiff_t>(k), t.begin() + static_cast<std::ptrdiff_t>(k + 4));
      insertAt(t, k, lookup);
    }
  }
}

bool isDml(const Tokens& t) {
  return !t.empty() && (t[0].is("SELECT") || t[0].is("INSERT") || t[0].is("UPDATE") || t[0].is("DELETE"));
}

// ---- CREATE TABLE and ALTER TABLE ... ADD ----

bool isConstraint(const Token& t) {
  return t.is("CONSTRAINT") || t.is("PRIMARY") || t.is("UNIQUE") || t.is("CHECK") || t.is("FOREIGN");
}

// IDENTITY[(seed, 1)] of an int column: ids that the database hands out and never hands out again,
// also after the row that had one is deleted. On SQLite that is an AUTOINCREMENT key, so the column
// becomes the table's key; a seed is set in sqlite_sequence after the CREATE (which createTable puts
// first).
void identityColumn(Tokens& def, TableChange& change) {
  std::size_t at = 2;
  while (at < def.size() && !def[at].is("IDENTITY")) ++at;
  if (at == def.size()) return;
  if (change.addsColumns) unsupported("Adding an IDENTITY column");
  if (!def[1].is("int") && !def[1].is("integer")) unsupported("IDENTITY of a " + def[1].text + " column");
  std::size_t end = at + 1;
  std::string seed = "1";
  if (end < def.size() && def[end].isSymbol("(")) {
    end = MatchingParen(def, end) + 1;
    if (end != at + 6 || def[at + 2].kind != TokenKind::Number || !def[at + 3].isSymbol(",") ||
        def[at + 4].kind != TokenKind::Number)
      SyntaxErrorNear(&def[at]);
    if (def[at + 4].text != "1") unsupported("An IDENTITY increment other than 1");
    seed = def[at + 2].text;
  }
  def.erase(def.begin() + static_cast<std::ptrdiff_t>(at), def.begin() + static_cast<std::ptrdiff_t>(end));
  for (std::size_t k = 2; k + 1 < def.size(); ++k) {
    if (def[k].is("PRIMARY") && def[k + 1].is("KEY")) {
      std::size_t keyEnd = k + 2;
      if (keyEnd < def.size() && (def[keyEnd].is("CLUSTERED") || def[keyEnd].is("NONCLUSTERED"))) ++keyEnd;
      def.erase(def.begin() + static_cast<std::ptrdiff_t>(k), def.begin() + static_cast<std::ptrdiff_t>(keyEnd));
      break;
    }
  }
  def[1].text = "INTEGER";
  for (const char* word : {"PRIMARY", "KEY", "AUTOINCREMENT"}) def.push_back(Token{TokenKind::Word, word, true});
  if (seed != "1")
    change.statements.push_back("INSERT INTO sqlite_sequence (name, seq) VALUES (" + QuoteText(change.table) + ", " +
                               std::to_string(std::stoll(seed) - 1) + ")");
}

// One column definition: "name type[(size)] constraints...". Text types compare without regard to
// case; "(max)", which SQLite does not read, is declared as "(-1)", the size that stands for no limit.
Tokens columnDefinition(Tokens def, TableChange& change) {
  if (def.size() < 2 || isConstraint(def[0])) unsupported("A table constraint here");
  identityColumn(def, change);
  ColumnType type = ColumnTypeOf(def[1].text);
  std::size_t afterType = 2;
  if (afterType < def.size() && def[afterType].isSymbol("(")) {
    std::size_t close = MatchingParen(def, afterType);
    if (close == def.size()) SyntaxErrorNear(&def[afterType]);
    if (close == afterType + 2 && def[afterType + 1].is("max")) {
      def[afterType + 1] = Token{TokenKind::Symbol, "-"};
      def.insert(def.begin() + static_cast<std::ptrdiff_t>(afterType + 2), Token{TokenKind::Number, "1"});
      close = afterType + 3;
    }
    afterType = close + 1;
  }
  bool collated = false;
  for (const Token& t : def) collated = collated || t.is("COLLATE");
  if (type.isText && !collated)
    insertAt(def, afterType, {Token{TokenKind::Word, "COLLATE", true}, Token{TokenKind::Word, "NOCASE", true}});
  if (type.isRowVersion) change.rowVersionColumns.push_back(def[0].text);
  return def;
}

TableChange createTable(const Tokens& t) {
  // CREATE TABLE name ( definitions ) ...
  if (t.size() < 5 || !t[3].isSymbol("(")) SyntaxErrorNear(&t.back());
  TableChange change{t[2].text, {}, {}, false};
  std::size_t close = MatchingParen(t, 3);
  if (close == t.size()) SyntaxErrorNear(&t.back());
  Tokens out(t.begin(), t.begin() + 4);
  bool firstPart = true;
  for (Tokens& part : SplitAtCommas(t, 4, close)) {
    if (!firstPart) out.push_back(Token{TokenKind::Symbol, ","});
    firstPart = false;
    Tokens def = !part.empty() && isConstraint(part[0]) ? part : columnDefinition(part, change);
    out.insert(out.end(), def.begin(), def.end());
  }
  out.insert(out.end(), t.begin() + static_cast<std::ptrdiff_t>(close), t.end());
  change.statements.insert(change.statements.begin(), Render(out));
  return change;
}

TableChange alterTableAdd(const Tokens& t) {
  // ALTER TABLE name ADD definition [, definition ...]: SQLite adds one column per statement.
  TableChange change{t[2].text, {}, {}, true};
  Tokens head(t.begin(), t.begin() + 3);
  head.push_back(Token{TokenKind::Word, "ADD", true});
  head.push_back(Token{TokenKind::Word, "COLUMN", true});
  for (Tokens& part : SplitAtCommas(t, 4, t.size())) {
    if (part.empty()) SyntaxErrorNear(&t.back());
    part.front().spaceBefore = true;
    Tokens statement = head;
    Tokens def = columnDefinition(part, change);
    statement.insert(statement.end(), def.begin(), def.end());
    change.statements.push_back(Render(statement));
  }
  return change;
}

}  // namespace

std::string RewriteStatement(std::span<const Token> tokens, ColumnCatalog& catalog) {
  Tokens t(tokens.begin(), tokens.end());
  rejectVariables(t);
  addInsertInto(t);
  moveTopToLimit(t);
  rewriteFunctions(t);
  if (!isDml(t)) return Render(t);
  BoundLikes(t, catalog);
  WrapColumnWrites(t, catalog);
  return Render(RewritePlus(t));
}

std::string RewriteCondition(std::span<const Token> condition) {
  Tokens t = Lex("SELECT CASE WHEN");
  t.insert(t.end(), condition.begin(), condition.end());
  Tokens tail = Lex(" THEN 1 ELSE 0 END");
  t.insert(t.end(), tail.begin(), tail.end());
  rejectVariables(t);
  moveTopToLimit(t);
  rewriteFunctions(t);
  return Render(RewritePlus(t));
}

bool IsTableChange(std::span<const Token> t) {
  if (t.size() < 4 || !t[1].is("TABLE")) return false;
  return t[0].is("CREATE") || (t[0].is("ALTER") && t[3].is("ADD"));
}

TableChange RewriteTableChange(std::span<const Token> tokens) {
  Tokens t(tokens.begin(), tokens.end());
  rejectVariables(t);
  return t[0].is("CREATE") ? createTable(t) : alterTableAdd(t);
}

}  // namespace quillane::sql
