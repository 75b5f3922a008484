// The lexer of the compatibility layer: SQL Server text as tokens, and tokens back as SQLite text.
// A number ends where its digits end, so "0ORDER" and "16AND" are a number and a word, as SQL Server
// reads them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/vbtext.h"

namespace quillane::sql {

enum class TokenKind {
  Word,        // a name or keyword, as written
  QuotedName,  // [name] or "name": the name itself
  Number,      // digits, a decimal point, an exponent
  String,      // '...' or N'...': the text itself, doubled quotes undone
  Binary,      // 0x...: the hexadecimal digits (possibly none)
  Variable,    // @name, @@name
  Symbol,      // an operator or punctuation
  Date,        // #...# of ADO criteria: the text between the signs
  Parameter,   // ?1, ?2...: a value bound to the statement (never lexed; see statement_shape.h)
};

// The words that cut a batch into statements and shape a statement (batch.h, statement_shape.h),
// recognised once by the lexer: those two look at every token of every statement the library sends.
// The statement starts come first, in one run.
enum class Keyword : std::uint8_t {
  None,
  Select, Insert, Update, Delete, If, Begin, Exec, Execute, Alter, Create, Drop, Truncate, Declare,
  End, Else, Case, Union, All, Except, Intersect, As, Values, From, Where, Having, Into, Order, Group, By,
  Escape, ObjectId, Tran, Transaction,
};

struct Token {
  TokenKind kind = TokenKind::Symbol;
  std::string text;
  bool spaceBefore = false;  // blanks, a line break or a comment stood before it
  Keyword keyword = Keyword::None;  // set by the lexer; a token made elsewhere has None
  bool forNumber = false;  // a Parameter that stands for a number literal (statement_shape.h)

  bool isStatementStart() const { return keyword >= Keyword::Select && keyword <= Keyword::Declare; }

  // A Word with that text, letter case ignored. Asked of every token by the batch parser and the
  // rewriter, so the length is compared first, where nearly every other word differs.
  bool is(std::string_view word) const {
    return kind == TokenKind::Word && text.size() == word.size() && SameText(text, word);
  }
  bool isSymbol(std::string_view symbol) const { return kind == TokenKind::Symbol && text == symbol; }
  // A name as a statement gives it: a word, or an identifier in quotes or brackets.
  bool isName() const { return kind == TokenKind::Word || kind == TokenKind::QuotedName; }
};

// Whether a number literal is exact (no exponent) with more significant digits than a double keeps:
// the digits of such a literal travel to the store function as text (column_writes.h).
bool ExactBeyondDouble(std::string_view number);
// Whether a number literal is written with an exponent ("1e2"), which makes SQL Server read it as a float
// where the same number written plainly ("100.0") is numeric.
bool HasExponent(std::string_view number);

inline bool OneOf(const Token& t, std::initializer_list<Keyword> keywords) {
  for (Keyword k : keywords)
    if (t.keyword == k) return true;
  return false;
}

struct LexOptions {
  bool dateLiterals = false;  // '#' encloses a date (ADO criteria) instead of being part of a name
};

// Raises the provider's syntax error for an unclosed string, name or comment.
std::vector<Token> Lex(std::string_view text, LexOptions options = {});

// The skeleton of a text: the text with its literals (numbers, strings, binaries) cut out and its
// tokens marked apart, so that two texts of one skeleton lex alike but for the values of their literals;
// and those literals as Lex gives them. False where Lex would raise, or the text holds the bytes
// 1 or 2 that mark literals and tokens in the skeleton.
bool LexSkeleton(std::string_view text, std::string& skeleton, std::vector<Token>& literals);

// SQLite text of the tokens, with a blank wherever the source had one or two tokens would run together.
std::string Render(std::span<const Token> tokens);

// SQL Server's syntax error, near a token or (null) near the end of the batch.
[[noreturn]] void SyntaxErrorNear(const Token* near);

// The index of the ")" that closes the "(" at open; tokens.size() when none does.
std::size_t MatchingParen(std::span<const Token> tokens, std::size_t open);

// The tokens [b, e) cut at the commas outside parentheses.
std::vector<std::vector<Token>> SplitAtCommas(std::span<const Token> tokens, std::size_t b, std::size_t e);

// The bytes of a Binary token's hexadecimal digits; an odd count has a leading 0.
std::vector<std::uint8_t> BinaryLiteralBytes(std::string_view hexDigits);

// A text literal as SQLite reads it: between single quotes, quotes doubled; a text holding NUL
// characters becomes an expression in parentheses that gives the same text.
std::string QuoteText(std::string_view text);

}  // namespace quillane::sql
