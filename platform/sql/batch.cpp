#include "platform/sql/batch.h"

#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

class Parser {
 public:
  explicit Parser(std::span<const Token> tokens) : t_(tokens) {}

  std::vector<BatchStatement> run() {
    std::vector<BatchStatement> statements;
    while (skipSeparators()) statements.push_back(statement());
    return statements;
  }

 private:
  bool atEnd() const { return i_ >= t_.size(); }

  // Skips ";" and says whether a statement follows.
  bool skipSeparators() {
    while (!atEnd() && t_[i_].isSymbol(";")) ++i_;
    return !atEnd();
  }

  [[noreturn]] void syntaxError() const { SyntaxErrorNear(atEnd() ? nullptr : &t_[i_]); }

  BatchStatement statement() {
    const Token& first = t_[i_];
    if (first.keyword == Keyword::If) return ifStatement();
    if (first.keyword == Keyword::Begin) return block();
    if (OneOf(first, {Keyword::End, Keyword::Else})) syntaxError();
    return BatchStatement{BatchStatement::Kind::Simple, simpleTokens(), {}};
  }

  BatchStatement ifStatement() {
    ++i_;
    BatchStatement s{BatchStatement::Kind::If, simpleTokens(true), {}};
    if (s.tokens.empty() || !skipSeparators()) syntaxError();
    s.body.push_back(statement());
    if (skipSeparators() && t_[i_].keyword == Keyword::Else) {
      ++i_;
      if (!skipSeparators()) syntaxError();
      s.body.push_back(statement());
    }
    return s;
  }

  BatchStatement block() {
    if (i_ + 1 < t_.size() && OneOf(t_[i_ + 1], {Keyword::Tran, Keyword::Transaction}))
      throw ProviderError(OleDbError::ErrorsInCommand,
                          "BEGIN TRANSACTION inside a command text is not supported; the connection's BeginTrans "
                          "opens a transaction.");
    ++i_;
    BatchStatement s{BatchStatement::Kind::Block, {}, {}};
    while (true) {
      if (!skipSeparators()) syntaxError();
      if (t_[i_].keyword == Keyword::End) break;
      s.body.push_back(statement());
    }
    ++i_;
    return s;
  }

  // Whether t_[k], outside parentheses and CASE, begins the next statement of a statement that began
  // with `first` (a condition begins with nothing: any statement keyword ends it).
  bool beginsNext(std::size_t k, const Token* first, bool insertHasSource) const {
    const Token& t = t_[k];
    if (!t.isStatementStart()) return false;
    if (!first) return true;
    if (t.keyword == Keyword::Select) {
      const Token& prev = t_[k - 1];
      if (OneOf(prev, {Keyword::Union, Keyword::All, Keyword::Except, Keyword::Intersect, Keyword::As}))
        return false;
      if (first->keyword == Keyword::Insert && !insertHasSource) return false;
    }
    if (t.keyword == Keyword::Drop && first->keyword == Keyword::Alter) return false;
    return true;
  }

  // The tokens of one simple statement (or of an IF's condition), leaving i_ after them.
  std::span<const Token> simpleTokens(bool condition = false) {
    std::size_t start = i_;
    const Token* first = condition ? nullptr : &t_[start];
    int depth = 0, caseDepth = 0;
    bool insertHasSource = false;
    for (; i_ < t_.size(); ++i_) {
      const Token& t = t_[i_];
      if (depth == 0 && caseDepth == 0 && (condition || i_ > start)) {
        if (t.isSymbol(";") || OneOf(t, {Keyword::End, Keyword::Else}) || beginsNext(i_, first, insertHasSource)) break;
        if (first && first->keyword == Keyword::Insert && OneOf(t, {Keyword::Values, Keyword::Select}))
          insertHasSource = true;
      }
      if (t.isSymbol("(")) ++depth;
      else if (t.isSymbol(")") && depth > 0) --depth;
      else if (t.keyword == Keyword::Case) ++caseDepth;
      else if (t.keyword == Keyword::End && caseDepth > 0) --caseDepth;
    }
    return t_.subspan(start, i_ - start);
  }

  std::span<const Token> t_;
  std::size_t i_ = 0;
};

}  // namespace

std::vector<BatchStatement> ParseBatch(std::span<const Token> tokens) { return Parser(tokens).run(); }

bool IsPlainStatement(const BatchStatement& s) {
  if (s.kind != BatchStatement::Kind::Simple) return false;
  return OneOf(s.tokens[0], {Keyword::Select, Keyword::Insert, Keyword::Update, Keyword::Delete});
}

bool MayWrite(std::span<const BatchStatement> statements) {
  for (const BatchStatement& s : statements) {
    if (s.kind == BatchStatement::Kind::Simple ? s.tokens[0].keyword != Keyword::Select : MayWrite(s.body)) return true;
  }
  return false;
}

}  // namespace quillane::sql
