#include "platform/sql/expression.h"

#include "platform/sql/functions.h"

namespace quillane::sql {
namespace {

// Words that end an operand rather than name one.
constexpr std::string_view kKeywords[] = {
    "SELECT", "FROM",   "WHERE",  "AND",   "OR",     "NOT",       "AS",      "ON",     "IN",     "IS",
    "LIKE",   "ESCAPE", "BETWEEN", "EXISTS", "WHEN", "THEN",      "ELSE",    "END",    "ORDER",  "BY",
    "GROUP",  "HAVING", "UNION",  "ALL",   "DISTINCT", "INSERT",  "INTO",    "VALUES", "UPDATE", "SET",
    "DELETE", "JOIN",   "INNER",  "LEFT",  "RIGHT",  "OUTER",     "CROSS",   "FULL",   "ASC",    "DESC",
    "LIMIT",  "OFFSET", "EXCEPT", "INTERSECT", "COLLATE", "DEFAULT", "IF",   "BEGIN",  "CASE",   "TOP"};

bool isKeyword(const Token& t) {
  for (std::string_view k : kKeywords)
    if (t.is(k)) return true;
  return false;
}

bool isUnary(const Token& t) { return t.isSymbol("+") || t.isSymbol("-") || t.isSymbol("~"); }
bool isMultiplicative(const Token& t) { return t.isSymbol("*") || t.isSymbol("/") || t.isSymbol("%"); }
bool isAdditive(const Token& t) { return t.isSymbol("+") || t.isSymbol("-"); }

using Tokens = std::vector<Token>;

class PlusRewriter {
 public:
  explicit PlusRewriter(std::span<const Token> in) : in_(in) {}

  Tokens run() {
    Tokens out;
    sequence(0, in_.size(), out);
    return out;
  }

 private:
  // Copies [b, e) to out, rewriting each additive chain that holds a "+".
  void sequence(std::size_t b, std::size_t e, Tokens& out) {
    std::size_t i = b;
    while (i < e) {
      Tokens acc;
      std::size_t j = term(i, e, acc);
      if (j == i) {
        out.push_back(in_[i++]);
        continue;
      }
      while (j < e && isAdditive(in_[j])) {
        Tokens next;
        std::size_t k = term(j + 1, e, next);
        if (k == j + 1) break;
        acc = in_[j].isSymbol("+") ? call(std::move(acc), std::move(next)) : append(std::move(acc), in_[j], next);
        j = k;
      }
      out.insert(out.end(), acc.begin(), acc.end());
      i = j;
    }
  }

  static Tokens append(Tokens acc, const Token& op, const Tokens& operand) {
    acc.push_back(op);
    acc.insert(acc.end(), operand.begin(), operand.end());
    return acc;
  }

  static Tokens call(Tokens left, Tokens right) {
    Tokens out{Token{TokenKind::Word, kPlusFunction, left.front().spaceBefore}, Token{TokenKind::Symbol, "("}};
    left.front().spaceBefore = false;
    out.insert(out.end(), left.begin(), left.end());
    out.push_back(Token{TokenKind::Symbol, ","});
    out.insert(out.end(), right.begin(), right.end());
    out.push_back(Token{TokenKind::Symbol, ")"});
    // A joined text compares as its parts do in the account set: without regard to case.
    out.push_back(Token{TokenKind::Word, "COLLATE", true});
    out.push_back(Token{TokenKind::Word, "NOCASE", true});
    return out;
  }

  // A term (unary operators, operands joined by * / %, COLLATE) at i: appended to out, and the index
  // after it; i itself, and nothing appended, when no term starts there.
  std::size_t term(std::size_t i, std::size_t e, Tokens& out) {
    Tokens t;
    std::size_t k = factor(i, e, t);
    if (k == i) return i;
    while (k < e) {
      if (isMultiplicative(in_[k])) {
        Tokens next;
        std::size_t m = factor(k + 1, e, next);
        if (m == k + 1) break;
        t = append(std::move(t), in_[k], next);
        k = m;
      } else if (in_[k].is("COLLATE") && k + 1 < e) {
        t.push_back(in_[k]);
        t.push_back(in_[k + 1]);
        k += 2;
      } else {
        break;
      }
    }
    out.insert(out.end(), t.begin(), t.end());
    return k;
  }

  std::size_t factor(std::size_t i, std::size_t e, Tokens& out) {
    std::size_t k = i;
    Tokens t;
    while (k < e && isUnary(in_[k])) t.push_back(in_[k++]);
    std::size_t m = primary(k, e, t);
    if (m == k) return i;
    out.insert(out.end(), t.begin(), t.end());
    return m;
  }

  // Copies a parenthesised part, rewriting inside it; returns the index after its ")".
  std::size_t group(std::size_t open, std::size_t e, Tokens& out) {
    std::size_t close = std::min(MatchingParen(in_, open), e);
    out.push_back(in_[open]);
    sequence(open + 1, close, out);
    if (close < e) out.push_back(in_[close]);
    return close < e ? close + 1 : e;
  }

  std::size_t primary(std::size_t i, std::size_t e, Tokens& out) {
    if (i >= e) return i;
    const Token& t = in_[i];
    switch (t.kind) {
      case TokenKind::Number:
      case TokenKind::String:
      case TokenKind::Binary:
      case TokenKind::Variable:
      case TokenKind::Parameter:
      case TokenKind::Date: out.push_back(t); return i + 1;
      case TokenKind::Symbol: return t.isSymbol("(") ? group(i, e, out) : i;
      case TokenKind::Word:
        if (t.is("CASE")) return caseExpression(i, e, out);
        if (t.is("NULL")) {
          out.push_back(t);
          return i + 1;
        }
        // LEFT and RIGHT are functions as well as join words.
        if (isKeyword(t) && !((t.is("LEFT") || t.is("RIGHT")) && i + 1 < e && in_[i + 1].isSymbol("("))) return i;
        break;
      case TokenKind::QuotedName: break;
    }
    std::size_t k = i;
    out.push_back(in_[k++]);
    while (k + 1 < e && in_[k].isSymbol(".") &&
           (in_[k + 1].kind == TokenKind::Word || in_[k + 1].kind == TokenKind::QuotedName || in_[k + 1].isSymbol("*"))) {
      out.push_back(in_[k]);
      out.push_back(in_[k + 1]);
      k += 2;
    }
    if (k < e && in_[k].isSymbol("(")) return group(k, e, out);
    return k;
  }

  std::size_t caseExpression(std::size_t i, std::size_t e, Tokens& out) {
    int depth = 0;
    std::size_t k = i;
    for (; k < e; ++k) {
      if (in_[k].is("CASE")) ++depth;
      else if (in_[k].is("END") && --depth == 0) break;
    }
    out.push_back(in_[i]);
    sequence(i + 1, k, out);
    if (k < e) out.push_back(in_[k]);
    return k < e ? k + 1 : e;
  }

  std::span<const Token> in_;
};

}  // namespace

std::vector<Token> RewritePlus(std::span<const Token> tokens) { return PlusRewriter(tokens).run(); }

}  // namespace quillane::sql
