#include "platform/sql/lexer.h"

#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
// Bytes of UTF-8 sequences count as letters, so that Chinese names lex as names.
bool isNameStart(char c, bool hashIsName) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (hashIsName && c == '#') ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool isNameChar(char c, bool hashIsName) { return isNameStart(c, hashIsName) || isDigit(c) || c == '$' || c == '@'; }

[[noreturn]] void unclosed(std::string_view what, std::string_view rest) {
  throw ProviderError(OleDbError::ErrorsInCommand,
                      "Unclosed " + std::string(what) + " after the character string '" + std::string(rest) + "'.");
}

class Lexer {
 public:
  Lexer(std::string_view text, LexOptions options) : s_(text), options_(options) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    while (true) {
      bool space = skipBlanksAndComments();
      if (i_ >= s_.size()) break;
      Token t = next();
      t.spaceBefore = space;
      tokens.push_back(std::move(t));
    }
    return tokens;
  }

 private:
  bool skipBlanksAndComments() {
    bool skipped = false;
    while (i_ < s_.size()) {
      if (isBlank(s_[i_])) {
        ++i_;
      } else if (s_.substr(i_, 2) == "--") {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else if (s_.substr(i_, 2) == "/*") {
        skipBlockComment();
      } else {
        break;
      }
      skipped = true;
    }
    return skipped;
  }

  // SQL Server's block comments nest.
  void skipBlockComment() {
    std::size_t start = i_;
    int depth = 0;
    while (i_ < s_.size()) {
      if (s_.substr(i_, 2) == "/*") {
        ++depth;
        i_ += 2;
      } else if (s_.substr(i_, 2) == "*/") {
        i_ += 2;
        if (--depth == 0) return;
      } else {
        ++i_;
      }
    }
    unclosed("comment", s_.substr(start));
  }

  Token next() {
    char c = s_[i_];
    if ((c == 'N' || c == 'n') && i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
      ++i_;
      return quoted(TokenKind::String, '\'', "quotation mark");
    }
    if (c == '\'') return quoted(TokenKind::String, '\'', "quotation mark");
    if (c == '[') return quoted(TokenKind::QuotedName, ']', "bracket");
    if (c == '"') return quoted(TokenKind::QuotedName, '"', "quotation mark");
    if (options_.dateLiterals && c == '#') return quoted(TokenKind::Date, '#', "date");
    if (c == '0' && i_ + 1 < s_.size() && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) return binary();
    if (isDigit(c) || (c == '.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) return number();
    if (c == '@') return take(TokenKind::Variable, [&] {
      while (i_ < s_.size() && s_[i_] == '@') ++i_;
      while (i_ < s_.size() && isNameChar(s_[i_], true)) ++i_;
    });
    if (isNameStart(c, !options_.dateLiterals)) return take(TokenKind::Word, [&] {
      while (i_ < s_.size() && isNameChar(s_[i_], !options_.dateLiterals)) ++i_;
    });
    return symbol();
  }

  template <class Advance>
  Token take(TokenKind kind, Advance advance) {
    std::size_t start = i_;
    advance();
    return Token{kind, std::string(s_.substr(start, i_ - start))};
  }

  // A quoted string or name; the closing character written twice stands for itself.
  Token quoted(TokenKind kind, char close, std::string_view what) {
    std::size_t start = i_;
    ++i_;
    std::string text;
    while (true) {
      if (i_ >= s_.size()) unclosed(what, s_.substr(start + 1));
      if (s_[i_] == close) {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == close) {
          text += close;
          i_ += 2;
          continue;
        }
        ++i_;
        return Token{kind, std::move(text)};
      }
      text += s_[i_++];
    }
  }

  Token binary() {
    i_ += 2;
    return take(TokenKind::Binary, [&] {
      while (i_ < s_.size() && isHexDigit(s_[i_])) ++i_;
    });
  }

  // Digits, one decimal point, and an exponent only when digits follow the "E": "0ELSE" is 0 and ELSE.
  Token number() {
    return take(TokenKind::Number, [&] {
      while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
      if (i_ < s_.size() && s_[i_] == '.') {
        ++i_;
        while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
      }
      if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        std::size_t k = i_ + 1;
        if (k < s_.size() && (s_[k] == '+' || s_[k] == '-')) ++k;
        if (k < s_.size() && isDigit(s_[k])) {
          i_ = k;
          while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
        }
      }
    });
  }

  Token symbol() {
    static constexpr std::string_view kTwoCharacter[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||"};
    for (std::string_view op : kTwoCharacter)
      if (s_.substr(i_, 2) == op) {
        i_ += 2;
        return Token{TokenKind::Symbol, std::string(op)};
      }
    return Token{TokenKind::Symbol, std::string(1, s_[i_++])};
  }

  std::string_view s_;
  LexOptions options_;
  std::size_t i_ = 0;
};

bool runsTogether(TokenKind k) { return k != TokenKind::Symbol; }

std::string renderToken(const Token& t) {
  switch (t.kind) {
    case TokenKind::QuotedName:
      return t.text.find(']') == std::string::npos ? "[" + t.text + "]" : "\"" + Replace(t.text, "\"", "\"\"") + "\"";
    case TokenKind::String:
    case TokenKind::Date: return QuoteText(t.text);
    case TokenKind::Binary: return "X'" + std::string(t.text.size() % 2 ? "0" : "") + t.text + "'";
    case TokenKind::Word:
    case TokenKind::Number:
    case TokenKind::Variable:
    case TokenKind::Symbol: break;
  }
  return t.text;
}

}  // namespace

bool Token::is(std::string_view word) const { return kind == TokenKind::Word && SameText(text, word); }

std::vector<Token> Lex(std::string_view text, LexOptions options) { return Lexer(text, options).run(); }

void SyntaxErrorNear(const Token* near) {
  throw ProviderError(OleDbError::ErrorsInCommand,
                      "Incorrect syntax near " + (near ? "'" + near->text + "'" : std::string("the end of the batch")) + ".");
}

std::size_t MatchingParen(std::span<const Token> tokens, std::size_t open) {
  int depth = 0;
  for (std::size_t k = open; k < tokens.size(); ++k) {
    if (tokens[k].isSymbol("(")) ++depth;
    else if (tokens[k].isSymbol(")") && --depth == 0) return k;
  }
  return tokens.size();
}

std::vector<std::vector<Token>> SplitAtCommas(std::span<const Token> tokens, std::size_t b, std::size_t e) {
  std::vector<std::vector<Token>> parts(1);
  int depth = 0;
  for (std::size_t k = b; k < e; ++k) {
    if (tokens[k].isSymbol("(")) ++depth;
    else if (tokens[k].isSymbol(")")) --depth;
    if (depth == 0 && tokens[k].isSymbol(",")) parts.emplace_back();
    else parts.back().push_back(tokens[k]);
  }
  return parts;
}

// SQLite reads statement text only up to a NUL, so a literal holding one is written as a join of its
// pieces and char(0): without that the statement fails with "unrecognized token".
std::string QuoteText(std::string_view text) {
  if (text.find('\0') == std::string_view::npos) return "'" + Replace(text, "'", "''") + "'";
  std::string joined = "(";
  for (std::size_t start = 0;;) {
    std::size_t nul = text.find('\0', start);
    joined += QuoteText(text.substr(start, nul - start));
    if (nul == std::string_view::npos) return joined + ")";
    joined += " || char(0) || ";
    start = nul + 1;
  }
}

std::string Render(std::span<const Token> tokens) {
  std::string out;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (k > 0 && (tokens[k].spaceBefore || (runsTogether(tokens[k - 1].kind) && runsTogether(tokens[k].kind))))
      out += ' ';
    out += renderToken(tokens[k]);
  }
  return out;
}

}  // namespace quillane::sql
