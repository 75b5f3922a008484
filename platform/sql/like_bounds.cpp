#include "platform/sql/like_bounds.h"

#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>

namespace quillane::sql {
namespace {

using Tokens = std::vector<Token>;

// ---- the bounds ----

// The pattern's literal start, escapes taken off: the bytes every text the LIKE matches begins with,
// letter case aside. Nothing when the LIKE holds for no text (a NULL pattern or escape). An escape of
// more than one byte narrows nothing: the start is then empty, which bounds nothing.
std::optional<std::string> literalStart(int argc, sqlite3_value** argv) {
  const unsigned char* pattern = sqlite3_value_text(argv[0]);
  if (!pattern) return std::nullopt;
  int escape = -1;
  if (argc > 1) {
    const unsigned char* e = sqlite3_value_text(argv[1]);
    if (!e) return std::nullopt;
    if (sqlite3_value_bytes(argv[1]) != 1 || e[0] >= 0x80) return std::string();
    escape = e[0];
  }
  // Byte by byte, as SQLite's own LIKE range does: no byte of a character beyond ASCII equals a
  // wildcard or a one-byte escape. The escape is asked first: an escape of '%' or '_' is no wildcard.
  std::string start;
  const int length = sqlite3_value_bytes(argv[0]);
  for (int k = 0; k < length; ++k) {
    const int c = pattern[k];
    if (c == escape) {
      if (++k == length) break;
      start += static_cast<char>(pattern[k]);
    } else if (c == '%' || c == '_') {
      break;
    } else {
      start += static_cast<char>(c);
    }
  }
  return start;
}

}  // namespace

void LikeFloorFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  std::optional<std::string> start = literalStart(argc, argv);
  if (!start) return sqlite3_result_null(ctx);
  sqlite3_result_text(ctx, start->data(), static_cast<int>(start->size()), SQLITE_TRANSIENT);
}

void LikeCeilingFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  std::optional<std::string> start = literalStart(argc, argv);
  if (!start) return sqlite3_result_null(ctx);
  // NOCASE compares ASCII letters in lower case: the start is raised from its lower-case form, or a
  // final "Z" raised to "[" would fall below the "z" that NOCASE reads.
  for (char& c : *start)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  while (!start->empty() && static_cast<unsigned char>(start->back()) == 0xFF) start->pop_back();
  if (start->empty()) return sqlite3_result_zeroblob(ctx, 0);  // above every text
  start->back() = static_cast<char>(static_cast<unsigned char>(start->back()) + 1);
  sqlite3_result_text(ctx, start->data(), static_cast<int>(start->size()), SQLITE_TRANSIENT);
}

namespace {

// ---- the rewrite ----

// SQLite's rule for a declared type: INT first, then CHAR, CLOB or TEXT give TEXT affinity.
bool hasTextAffinity(std::string_view declared) {
  auto contains = [&](std::string_view word) {
    for (std::size_t k = 0; k + word.size() <= declared.size(); ++k)
      if (SameText(declared.substr(k, word.size()), word)) return true;
    return false;
  };
  return !contains("INT") && (contains("CHAR") || contains("CLOB") || contains("TEXT"));
}

// Where the term after a LIKE's pattern (and escape) may end without an operator binding it tighter.
bool endsTerm(const Tokens& t, std::size_t k) {
  if (k == t.size()) return true;
  const Token& next = t[k];
  return next.isSymbol(")") || next.is("AND") || next.is("OR") || next.is("LIMIT") ||
         OneOf(next, {Keyword::Order, Keyword::Group, Keyword::Having, Keyword::Union, Keyword::Except,
                      Keyword::Intersect});
}

// The "(" that opens the parenthesis level of position k; npos at the statement's own level.
std::size_t openingParen(const Tokens& t, std::size_t k) {
  int depth = 0;
  for (std::size_t j = k; j-- > 0;) {
    if (t[j].isSymbol(")")) {
      ++depth;
    } else if (t[j].isSymbol("(")) {
      if (depth == 0) return j;
      --depth;
    }
  }
  return std::string::npos;
}

struct Source {
  std::string table, alias;
};

// The one table that the query around position k reads, when the column at k can only be one of its
// columns: k stands in that query's WHERE, and the query reads that table alone (no join, no derived
// table, no FROM of an UPDATE).
std::optional<Source> soleTableOf(const Tokens& t, std::size_t k) {
  for (std::size_t open = openingParen(t, k);; open = openingParen(t, open)) {
    const std::size_t begin = open == std::string::npos ? 0 : open + 1;
    // The query of this level that k stands in (after a UNION, the last one), and its FROM and WHERE.
    std::size_t query = std::string::npos, from = std::string::npos, where = std::string::npos;
    int depth = 0;
    for (std::size_t j = begin; j < k; ++j) {
      if (t[j].isSymbol("(")) ++depth;
      if (t[j].isSymbol(")")) --depth;
      if (depth != 0) continue;
      if (t[j].keyword == Keyword::Select || (j == 0 && OneOf(t[j], {Keyword::Update, Keyword::Delete}))) {
        query = j;
        from = where = std::string::npos;
      } else if (t[j].keyword == Keyword::From && from == std::string::npos) {
        from = j;
      } else if (t[j].keyword == Keyword::Where) {
        where = j;
      }
    }
    if (query == std::string::npos) {
      if (open == std::string::npos) return std::nullopt;
      continue;  // a parenthesis of an expression: the query is further out
    }
    if (where == std::string::npos) return std::nullopt;
    std::size_t name;
    if (t[query].keyword == Keyword::Update) {
      if (from != std::string::npos) return std::nullopt;
      name = query + 1;
    } else if (t[query].keyword == Keyword::Delete) {
      name = from == query + 1 ? from + 1 : query + 1;
    } else {
      if (from == std::string::npos) return std::nullopt;
      name = from + 1;
    }
    if (name >= where || !t[name].isName()) return std::nullopt;
    Source source{t[name].text, {}};
    if (t[query].keyword == Keyword::Update) return source;  // SET follows: the FROM above was none
    std::size_t after = name + 1;
    if (after < where && t[after].keyword == Keyword::As) ++after;
    if (after < where && t[after].isName() && t[query].keyword == Keyword::Select) source.alias = t[after++].text;
    if (after != where) return std::nullopt;
    return source;
  }
}

// Between a WHERE (or an AND, OR, NOT, "(") and the column: a term of its own, not the second
// operand of a BETWEEN.
bool startsTerm(const Tokens& t, std::size_t k) {
  if (k == 0) return false;
  const Token& before = t[k - 1];
  if (before.keyword == Keyword::Where || before.is("OR") || before.is("NOT") || before.isSymbol("(")) return true;
  if (!before.is("AND")) return false;
  int depth = 0;
  for (std::size_t j = k - 1; j-- > 0;) {
    if (t[j].isSymbol(")")) ++depth;
    if (t[j].isSymbol("(")) {
      if (depth == 0) return true;
      --depth;
    }
    if (depth != 0) continue;
    if (t[j].is("BETWEEN")) return false;
    if (t[j].is("AND") || t[j].is("OR") || t[j].keyword == Keyword::Where) return true;
  }
  return true;
}

Token symbol(const char* text, bool spaceBefore = true) { return Token{TokenKind::Symbol, text, spaceBefore}; }
Token word(const char* text) { return Token{TokenKind::Word, text, true}; }

// column COLLATE NOCASE <op> bound(pattern[, escape])
void appendBound(Tokens& out, const Tokens& column, const char* op, const char* bound, const Token& pattern,
                 const Token* escape) {
  out.push_back(word("AND"));
  const std::size_t columnAt = out.size();
  out.insert(out.end(), column.begin(), column.end());
  out[columnAt].spaceBefore = true;
  for (Token t : {word("COLLATE"), word("NOCASE"), symbol(op), word(bound), symbol("(", false), pattern}) out.push_back(t);
  if (escape) {
    out.push_back(symbol(",", false));
    out.push_back(*escape);
  }
  out.push_back(symbol(")", false));
}

}  // namespace

void BoundLikes(Tokens& t, ColumnCatalog& catalog) {
  for (std::size_t k = 2; k + 1 < t.size(); ++k) {
    if (!t[k].is("LIKE") || !t[k - 1].isName()) continue;
    // The column, qualified or not.
    std::size_t columnStart = k - 1;
    std::string qualifier;
    if (columnStart >= 2 && t[columnStart - 1].isSymbol(".") && t[columnStart - 2].isName()) {
      columnStart -= 2;
      qualifier = t[columnStart].text;
    }
    if (!startsTerm(t, columnStart)) continue;
    // The pattern and escape: one value each, and nothing after them that binds tighter.
    const Token& pattern = t[k + 1];
    if (pattern.kind != TokenKind::String && pattern.kind != TokenKind::Parameter) continue;
    std::size_t end = k + 2;
    const Token* escape = nullptr;
    if (end < t.size() && t[end].keyword == Keyword::Escape) {
      if (end + 1 >= t.size() || (t[end + 1].kind != TokenKind::String && t[end + 1].kind != TokenKind::Parameter)) continue;
      escape = &t[end + 1];
      end += 2;
    }
    if (!endsTerm(t, end)) continue;
    std::optional<Source> source = soleTableOf(t, columnStart);
    if (!source) continue;
    if (!qualifier.empty() && !SameText(qualifier, source->table) && !SameText(qualifier, source->alias)) continue;
    std::optional<std::string> declared = catalog.declaredType(source->table, t[k - 1].text);
    if (!declared || !hasTextAffinity(*declared)) continue;

    const Tokens column(t.begin() + static_cast<std::ptrdiff_t>(columnStart), t.begin() + static_cast<std::ptrdiff_t>(k));
    Tokens bounded{symbol("(", t[columnStart].spaceBefore)};
    bounded.insert(bounded.end(), t.begin() + static_cast<std::ptrdiff_t>(columnStart), t.begin() + static_cast<std::ptrdiff_t>(end));
    bounded[1].spaceBefore = false;
    appendBound(bounded, column, ">=", kLikeFloorFunction, pattern, escape);
    appendBound(bounded, column, "<", kLikeCeilingFunction, pattern, escape);
    bounded.push_back(symbol(")", false));
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(columnStart), t.begin() + static_cast<std::ptrdiff_t>(end));
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(columnStart), bounded.begin(), bounded.end());
    k = columnStart + bounded.size() - 1;
  }
}

}  // namespace quillane::sql
