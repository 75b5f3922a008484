#include "platform/sql/criteria.h"

#include <optional>

#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"
#include "platform/sql/lexer.h"

namespace quillane::sql {

enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

struct Criteria::Node {
  enum class Kind { And, Or, Compare } kind = Kind::Compare;
  std::unique_ptr<Node> left, right;  // And, Or
  std::size_t column = 0;             // Compare
  Op op = Op::Equal;
  Variant literal;
};

namespace {

using Node = Criteria::Node;

int compareText(std::string_view a, std::string_view b) {
  std::string la = LCase(a), lb = LCase(b);
  return la < lb ? -1 : la > lb ? 1 : 0;
}

template <class T>
int compareValues(const T& a, const T& b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

std::optional<double> numberOf(const Variant& v) {
  if (v.isString()) {
    if (!IsNumeric(v)) return std::nullopt;
  } else if (!v.isNumeric() && v.type() != VarType::Date) {
    return std::nullopt;
  }
  return CDbl(v);
}

std::optional<Date> dateOf(const Variant& v) {
  if (v.type() == VarType::Date) return v.as<Date>();
  Date d;
  if (v.isString() && ParseDate(v.as<std::string>(), d)) return d;
  return std::nullopt;
}

// How the field's value stands to the literal; nothing when the two cannot be compared.
std::optional<int> compare(const Variant& field, const Variant& literal) {
  // A bit field holds True or False: any number but 0 stands for True.
  if (field.type() == VarType::Boolean && literal.isNumeric())
    return compareValues(int{field.as<bool>()}, int{CDbl(literal) != 0});
  if (literal.isString() && field.isString()) return compareText(field.as<std::string>(), literal.as<std::string>());
  if (field.type() == VarType::Date || literal.type() == VarType::Date) {
    auto a = dateOf(field), b = dateOf(literal);
    if (a && b) return compareValues(a->serial, b->serial);
  }
  if (field.isBytes() || literal.isBytes()) {
    if (field.isBytes() && literal.isBytes()) return compareValues(field.as<Bytes>(), literal.as<Bytes>());
    return std::nullopt;
  }
  if (auto a = numberOf(field), b = numberOf(literal); a && b) return compareValues(*a, *b);
  if (literal.isString()) return compareText(CStr(field), literal.as<std::string>());
  return std::nullopt;
}

// ADO's wildcards: "*" and "%" stand for any run of characters.
bool likeMatch(std::string_view text, std::string_view pattern) {
  std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) ++p;
  return p == pattern.size();
}

bool evaluate(const Node& n, const std::vector<Variant>& row) {
  switch (n.kind) {
    case Node::Kind::And: return evaluate(*n.left, row) && evaluate(*n.right, row);
    case Node::Kind::Or: return evaluate(*n.left, row) || evaluate(*n.right, row);
    case Node::Kind::Compare: break;
  }
  const Variant& v = row[n.column];
  bool missing = v.isNull() || v.isEmpty();
  if (n.literal.isNull()) return n.op == Op::Equal ? missing : n.op == Op::NotEqual && !missing;
  if (missing) return false;
  if (n.op == Op::Like) return likeMatch(LCase(CStr(v)), LCase(CStr(n.literal)));
  std::optional<int> c = compare(v, n.literal);
  if (!c) return false;
  switch (n.op) {
    case Op::Equal: return *c == 0;
    case Op::NotEqual: return *c != 0;
    case Op::Less: return *c < 0;
    case Op::LessEqual: return *c <= 0;
    case Op::Greater: return *c > 0;
    case Op::GreaterEqual: return *c >= 0;
    case Op::Like: break;
  }
  return false;
}

class CriteriaParser {
 public:
  CriteriaParser(std::string_view text, const std::vector<RowsetColumn>& columns, const std::string& source)
      : columns_(columns), source_(source) {
    try {
      t_ = Lex(text, LexOptions{true});
    } catch (const AutomationError&) {
      invalid();
    }
  }

  std::unique_ptr<Node> run() {
    auto root = disjunction();
    if (i_ != t_.size()) invalid();
    return root;
  }

 private:
  [[noreturn]] void invalid() const { throw AdoObjectError(AdoError::InvalidArgument, source_); }
  const Token& peek() const {
    if (i_ >= t_.size()) invalid();
    return t_[i_];
  }

  std::unique_ptr<Node> joined(Node::Kind kind, std::string_view word, std::unique_ptr<Node> (CriteriaParser::*part)()) {
    auto left = (this->*part)();
    while (i_ < t_.size() && t_[i_].is(word)) {
      ++i_;
      auto n = std::make_unique<Node>();
      n->kind = kind;
      n->left = std::move(left);
      n->right = (this->*part)();
      left = std::move(n);
    }
    return left;
  }
  std::unique_ptr<Node> disjunction() { return joined(Node::Kind::Or, "OR", &CriteriaParser::conjunction); }
  std::unique_ptr<Node> conjunction() { return joined(Node::Kind::And, "AND", &CriteriaParser::clause); }

  std::unique_ptr<Node> clause() {
    if (peek().isSymbol("(")) {
      ++i_;
      auto inner = disjunction();
      if (!peek().isSymbol(")")) invalid();
      ++i_;
      return inner;
    }
    auto n = std::make_unique<Node>();
    n->column = field(peek());
    ++i_;
    n->op = op(peek());
    ++i_;
    n->literal = literal();
    return n;
  }

  std::size_t field(const Token& t) const {
    if (t.kind != TokenKind::Word && t.kind != TokenKind::QuotedName) invalid();
    for (std::size_t c = 0; c < columns_.size(); ++c)
      if (SameText(columns_[c].name, t.text)) return c;
    throw AdoObjectError(AdoError::ItemNotFound, source_);
  }

  Op op(const Token& t) const {
    if (t.is("LIKE")) return Op::Like;
    static constexpr std::pair<std::string_view, Op> kOps[] = {{"=", Op::Equal},       {"<>", Op::NotEqual},
                                                               {"!=", Op::NotEqual},   {"<", Op::Less},
                                                               {"<=", Op::LessEqual},  {">", Op::Greater},
                                                               {">=", Op::GreaterEqual}};
    for (auto [text, o] : kOps)
      if (t.isSymbol(text)) return o;
    invalid();
  }

  Variant literal() {
    bool negative = peek().isSymbol("-");
    if (negative || peek().isSymbol("+")) ++i_;
    const Token& t = peek();
    ++i_;
    if (t.kind == TokenKind::Number) return Variant((negative ? -1 : 1) * std::stod(t.text));
    if (negative) invalid();
    Date d;
    switch (t.kind) {
      case TokenKind::String: return Variant(t.text);
      case TokenKind::Date:
        if (!ParseDate(t.text, d)) invalid();
        return Variant(d);
      case TokenKind::Word:
        if (t.is("NULL")) return Variant::null();
        if (t.is("TRUE") || t.is("FALSE")) return Variant(t.is("TRUE"));
        break;
      default: break;
    }
    invalid();
  }

  const std::vector<RowsetColumn>& columns_;
  const std::string& source_;
  std::vector<Token> t_;
  std::size_t i_ = 0;
};

}  // namespace

Criteria::Criteria(std::string_view text, const std::vector<RowsetColumn>& columns, const std::string& source)
    : root_(CriteriaParser(text, columns, source).run()) {}
Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

bool Criteria::matches(const std::vector<Variant>& row) const { return evaluate(*root_, row); }

}  // namespace quillane::sql
