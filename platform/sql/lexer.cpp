#include "platform/sql/lexer.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "platform/automation/vbtext.h"
#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// What a byte may be in a name, by table: the lexer asks it of every byte of the library's statements.
enum NameByte : std::uint8_t { kNot = 0, kStart = 1, kInside = 2, kHash = 4 };
constexpr std::array<std::uint8_t, 256> kNameBytes = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    // Bytes of UTF-8 sequences count as letters, so that Chinese names lex as names.
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
    if (letter) t[c] = kStart | kInside;
    if ((c >= '0' && c <= '9') || c == '$' || c == '@') t[c] = kInside;
    if (c == '#') t[c] = kHash;
  }
  return t;
}();
bool isNameStart(char c, bool hashIsName) {
  std::uint8_t kind = kNameBytes[static_cast<unsigned char>(c)];
  return (kind & kStart) || (hashIsName && (kind & kHash));
}
bool isNameChar(char c, bool hashIsName) {
  std::uint8_t kind = kNameBytes[static_cast<unsigned char>(c)];
  return (kind & (kStart | kInside)) || (hashIsName && (kind & kHash));
}

// The keywords by length, so that a word is compared with the few of its own length only.
Keyword keywordOf(std::string_view word) {
  struct Entry {
    std::string_view text;
    Keyword keyword;
  };
  static constexpr Entry kKeywords[] = {
      {"IF", Keyword::If},         {"AS", Keyword::As},           {"BY", Keyword::By},
      {"END", Keyword::End},       {"ALL", Keyword::All},         {"EXEC", Keyword::Exec},
      {"DROP", Keyword::Drop},     {"ELSE", Keyword::Else},       {"CASE", Keyword::Case},
      {"FROM", Keyword::From},     {"INTO", Keyword::Into},       {"TRAN", Keyword::Tran},
      {"BEGIN", Keyword::Begin},   {"ALTER", Keyword::Alter},     {"UNION", Keyword::Union},
      {"WHERE", Keyword::Where},   {"ORDER", Keyword::Order},     {"GROUP", Keyword::Group},
      {"SELECT", Keyword::Select}, {"INSERT", Keyword::Insert},   {"UPDATE", Keyword::Update},
      {"DELETE", Keyword::Delete}, {"CREATE", Keyword::Create},   {"EXCEPT", Keyword::Except},
      {"VALUES", Keyword::Values}, {"HAVING", Keyword::Having},   {"ESCAPE", Keyword::Escape},
      {"EXECUTE", Keyword::Execute}, {"DECLARE", Keyword::Declare}, {"TRUNCATE", Keyword::Truncate},
      {"INTERSECT", Keyword::Intersect}, {"OBJECT_ID", Keyword::ObjectId}, {"TRANSACTION", Keyword::Transaction},
  };
  constexpr std::size_t kLongest = 11;
  // Where the keywords of each length begin in the table, and where they end (the next length's begin).
  static const std::array<std::size_t, kLongest + 2> kFirstOfLength = [] {
    std::array<std::size_t, kLongest + 2> first{};
    for (std::size_t length = 0, k = 0; length <= kLongest + 1; ++length) {
      while (k < std::size(kKeywords) && kKeywords[k].text.size() < length) ++k;
      first[length] = k;
    }
    return first;
  }();
  if (word.size() > kLongest) return Keyword::None;
  // The first letter, in upper case, sorts out nearly every candidate before the whole word is compared.
  const char first = static_cast<char>(word[0] & ~0x20);
  for (std::size_t k = kFirstOfLength[word.size()]; k < kFirstOfLength[word.size() + 1]; ++k)
    if (kKeywords[k].text[0] == first && SameText(kKeywords[k].text, word)) return kKeywords[k].keyword;
  return Keyword::None;
}

[[noreturn]] void unclosed(std::string_view what, std::string_view rest) {
  throw ProviderError(OleDbError::ErrorsInCommand,
                      "Unclosed " + std::string(what) + " after the character string '" + std::string(rest) + "'.");
}

class Lexer {
 public:
  Lexer(std::string_view text, LexOptions options) : s_(text), options_(options) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    tokens.reserve(s_.size() / 4);
    while (true) {
      bool space = skipBlanksAndComments();
      if (i_ >= s_.size()) break;
      Token t = next();
      t.spaceBefore = space;
      tokens.push_back(std::move(t));
    }
    return tokens;
  }

  // The text with each literal cut out (its kind left in its place) and every other token closed by a
  // separator, blanks and comments as written; the literals as run() gives them.
  void skeleton(std::string& key, std::vector<Token>& literals) {
    key.reserve(s_.size() + s_.size() / 4);
    std::size_t last = 0;
    while (true) {
      skipBlanksAndComments();
      if (i_ >= s_.size()) break;
      const std::size_t start = i_;
      const TokenKind kind = advance();
      if (kind == TokenKind::Number || kind == TokenKind::String || kind == TokenKind::Binary) {  // IsLiteral
        key.append(s_.substr(last, start - last));
        key += '\x01';
        key += static_cast<char>('A' + static_cast<int>(kind));
        literals.push_back(tokenOf(kind, start));
        if (kind == TokenKind::Number && HasExponent(literals.back().text)) key += 'e';  // as ShapeOf tells them apart
      } else {
        key.append(s_.substr(last, i_ - last));
        key += '\x02';
      }
      last = i_;
    }
    key.append(s_.substr(last));
  }

 private:
  bool skipBlanksAndComments() {
    bool skipped = false;
    while (i_ < s_.size()) {
      if (isBlank(s_[i_])) {
        ++i_;
      } else if (startsHere("--")) {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
      } else if (startsHere("/*")) {
        skipBlockComment();
      } else {
        break;
      }
      skipped = true;
    }
    return skipped;
  }

  bool startsHere(const char (&two)[3]) const {
    return i_ + 1 < s_.size() && s_[i_] == two[0] && s_[i_ + 1] == two[1];
  }

  // SQL Server's block comments nest.
  void skipBlockComment() {
    std::size_t start = i_;
    int depth = 0;
    while (i_ < s_.size()) {
      if (startsHere("/*")) {
        ++depth;
        i_ += 2;
      } else if (startsHere("*/")) {
        i_ += 2;
        if (--depth == 0) return;
      } else {
        ++i_;
      }
    }
    unclosed("comment", s_.substr(start));
  }

  Token next() {
    const std::size_t start = i_;
    return tokenOf(advance(), start);
  }

  // The token of the kind that advance() moved over from start.
  Token tokenOf(TokenKind kind, std::size_t start) {
    switch (kind) {
      case TokenKind::String:
      case TokenKind::QuotedName:
      case TokenKind::Date: return Token{kind, std::move(quoted_)};
      case TokenKind::Binary: return Token{kind, std::string(s_.substr(start + 2, i_ - start - 2))};
      case TokenKind::Word: {
        Token word{kind, std::string(s_.substr(start, i_ - start))};
        word.keyword = keywordOf(word.text);
        return word;
      }
      default: return Token{kind, std::string(s_.substr(start, i_ - start))};
    }
  }

  // Moves over the next token and tells its kind; a quoted one leaves its text, quotes undone, in quoted_.
  TokenKind advance() {
    char c = s_[i_];
    if ((c == 'N' || c == 'n') && i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
      ++i_;
      return quoted(TokenKind::String, '\'', "quotation mark");
    }
    if (c == '\'') return quoted(TokenKind::String, '\'', "quotation mark");
    if (c == '[') return quoted(TokenKind::QuotedName, ']', "bracket");
    if (c == '"') return quoted(TokenKind::QuotedName, '"', "quotation mark");
    if (options_.dateLiterals && c == '#') return quoted(TokenKind::Date, '#', "date");
    if (c == '0' && i_ + 1 < s_.size() && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) {
      i_ += 2;
      while (i_ < s_.size() && isHexDigit(s_[i_])) ++i_;
      return TokenKind::Binary;
    }
    if (isDigit(c) || (c == '.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) return number();
    if (c == '@') {
      while (i_ < s_.size() && s_[i_] == '@') ++i_;
      while (i_ < s_.size() && isNameChar(s_[i_], true)) ++i_;
      return TokenKind::Variable;
    }
    if (isNameStart(c, !options_.dateLiterals)) {
      while (i_ < s_.size() && isNameChar(s_[i_], !options_.dateLiterals)) ++i_;
      return TokenKind::Word;
    }
    return symbol();
  }

  // A quoted string or name; the closing character written twice stands for itself.
  TokenKind quoted(TokenKind kind, char close, std::string_view what) {
    std::size_t start = i_;
    ++i_;
    quoted_.clear();
    while (true) {
      std::size_t end = s_.find(close, i_);
      if (end == std::string_view::npos) unclosed(what, s_.substr(start + 1));
      quoted_.append(s_.substr(i_, end - i_));
      i_ = end + 1;
      if (i_ < s_.size() && s_[i_] == close) {
        quoted_ += close;
        ++i_;
        continue;
      }
      return kind;
    }
  }

  // Digits, one decimal point, and an exponent only when digits follow the "E": "0ELSE" is 0 and ELSE.
  TokenKind number() {
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
    return TokenKind::Number;
  }

  TokenKind symbol() {
    static constexpr std::string_view kTwoCharacter[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||"};
    const char c = s_[i_];
    if (c == '<' || c == '>' || c == '!' || c == '|') {
      for (std::string_view op : kTwoCharacter)
        if (s_.substr(i_, 2) == op) {
          i_ += 2;
          return TokenKind::Symbol;
        }
    }
    ++i_;
    return TokenKind::Symbol;
  }

  std::string_view s_;
  LexOptions options_;
  std::size_t i_ = 0;
  std::string quoted_;
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
    case TokenKind::Parameter:
    case TokenKind::Symbol: break;
  }
  return t.text;
}

}  // namespace

bool HasExponent(std::string_view number) { return number.find_first_of("eE") != std::string_view::npos; }

bool ExactBeyondDouble(std::string_view number) {
  if (HasExponent(number)) return false;
  int digits = 0;
  for (char c : number)
    if (c >= '0' && c <= '9' && (digits > 0 || c != '0')) ++digits;
  return digits > 15;
}

std::vector<Token> Lex(std::string_view text, LexOptions options) { return Lexer(text, options).run(); }

bool LexSkeleton(std::string_view text, std::string& skeleton, std::vector<Token>& literals) {
  // The marks of the skeleton must not stand in the text itself.
  if (std::memchr(text.data(), '\x01', text.size()) || std::memchr(text.data(), '\x02', text.size())) return false;
  try {
    Lexer(text, {}).skeleton(skeleton, literals);
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

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

std::vector<std::uint8_t> BinaryLiteralBytes(std::string_view hexDigits) {
  auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::vector<std::uint8_t> bytes;
  std::size_t k = 0;
  if (hexDigits.size() % 2) bytes.push_back(static_cast<std::uint8_t>(digit(hexDigits[k++])));
  for (; k + 1 < hexDigits.size(); k += 2)
    bytes.push_back(static_cast<std::uint8_t>(digit(hexDigits[k]) * 16 + digit(hexDigits[k + 1])));
  return bytes;
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
