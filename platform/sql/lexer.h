// The lexer of the compatibility layer: SQL Server text as tokens, and tokens back as SQLite text.
// A number ends where its digits end, so "0ORDER" and "16AND" are a number and a word, as SQL Server
// reads them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

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
};

struct Token {
  TokenKind kind = TokenKind::Symbol;
  std::string text;
  bool spaceBefore = false;  // blanks, a line break or a comment stood before it

  bool is(std::string_view word) const;  // a Word with that text, letter case ignored
  bool isSymbol(std::string_view symbol) const { return kind == TokenKind::Symbol && text == symbol; }
};

struct LexOptions {
  bool dateLiterals = false;  // '#' encloses a date (ADO criteria) instead of being part of a name
};

// Raises the provider's syntax error for an unclosed string, name or comment.
std::vector<Token> Lex(std::string_view text, LexOptions options = {});

// SQLite text of the tokens, with a blank wherever the source had one or two tokens would run together.
std::string Render(std::span<const Token> tokens);

// SQL Server's syntax error, near a token or (null) near the end of the batch.
[[noreturn]] void SyntaxErrorNear(const Token* near);

// The index of the ")" that closes the "(" at open; tokens.size() when none does.
std::size_t MatchingParen(std::span<const Token> tokens, std::size_t open);

// The tokens [b, e) cut at the commas outside parentheses.
std::vector<std::vector<Token>> SplitAtCommas(std::span<const Token> tokens, std::size_t b, std::size_t e);

// A text literal as SQLite reads it: between single quotes, quotes doubled; a text holding NUL
// characters becomes an expression in parentheses that gives the same text.
std::string QuoteText(std::string_view text);

}  // namespace quillane::sql
