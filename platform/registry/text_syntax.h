// The pieces of syntax that the library's hand-editable text files share (the registry file and the
// message catalogues): lines, blanks and quoted strings with C escapes.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillane {

// Blanks and tabs at both ends removed: hand-edited files indent with either.
std::string_view TrimBlanks(std::string_view s);

// Calls onLine for each line with its 1-based number, without the line break (LF or CR LF) and
// without a UTF-8 byte-order mark at the start of the text. A final line break opens no empty line.
void ForEachLine(std::string_view text, const std::function<void(std::string_view line, int number)>& onLine);

// What is wrong with a quoted string; the caller adds where it stands.
class QuotedTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text between the double quotes that open and end `quoted`, with the escapes \n \t \r \" \\ \a
// \b \f \v, octal \ooo and hexadecimal \xhh resolved. Raises QuotedTextError when quoted does not start
// with a quote, has no closing one, goes on after it, or holds an unknown escape.
std::string ParseQuotedText(std::string_view quoted);

}  // namespace quillane
