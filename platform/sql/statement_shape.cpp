#include "platform/sql/statement_shape.h"

namespace quillane::sql {
namespace {

// Where a token stands, as far as its literals are concerned: where they are values, or where they
// are kept in the shape.
enum class Clause { Values, Kept };

bool endsSelectList(const Token& t) {
  return OneOf(t, {Keyword::From, Keyword::Where, Keyword::Union, Keyword::Except, Keyword::Intersect,
                   Keyword::Having, Keyword::Into});
}

}  // namespace

bool IsLiteral(const Token& t) {
  return t.kind == TokenKind::Number || t.kind == TokenKind::String || t.kind == TokenKind::Binary;
}

std::optional<StatementShape> ShapeOf(std::span<const Token> t) {
  if (t.empty() || !OneOf(t[0], {Keyword::Select, Keyword::Insert, Keyword::Update, Keyword::Delete}))
    return std::nullopt;
  StatementShape shape;
  shape.key.reserve(256);
  // The clause of each open parenthesis level; a level starts in the clause of the one around it, so
  // that the literals of a function call in a select list stay with the select list.
  std::vector<Clause> clause{Clause::Values};
  for (std::size_t k = 0; k < t.size(); ++k) {
    const Token& token = t[k];
    Clause& here = clause.back();
    if (token.keyword == Keyword::ObjectId) return std::nullopt;
    if (token.isSymbol("(")) {
      clause.push_back(here);
    } else if (token.isSymbol(")")) {
      if (clause.size() > 1) clause.pop_back();
    } else if (token.keyword == Keyword::Select) {
      here = Clause::Kept;
    } else if (OneOf(token, {Keyword::Order, Keyword::Group}) && k + 1 < t.size() && t[k + 1].keyword == Keyword::By) {
      here = Clause::Kept;
    } else if (endsSelectList(token)) {
      here = Clause::Values;
    }
    bool parameter = IsLiteral(token) && here == Clause::Values && !(k > 0 && t[k - 1].keyword == Keyword::Escape);
    shape.key += static_cast<char>('A' + static_cast<int>(token.kind));
    // A number with an exponent goes to the store function without its digits (column_writes.h).
    if (token.kind == TokenKind::Number && HasExponent(token.text)) shape.key += 'e';
    shape.key += parameter ? std::string_view("?") : std::string_view(token.text);
    shape.key += '\x1f';
    if (parameter) shape.parameters.push_back(k);
  }
  return shape;
}

std::vector<Token> WithParameters(std::span<const Token> statement, const StatementShape& shape) {
  std::vector<Token> tokens(statement.begin(), statement.end());
  for (std::size_t p = 0; p < shape.parameters.size(); ++p) {
    Token& t = tokens[shape.parameters[p]];
    const bool number = t.kind == TokenKind::Number && !HasExponent(t.text);
    t = Token{TokenKind::Parameter, "?" + std::to_string(p + 1), t.spaceBefore};
    t.forNumber = number;
  }
  return tokens;
}

}  // namespace quillane::sql
