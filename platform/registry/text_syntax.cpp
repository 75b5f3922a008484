#include "platform/registry/text_syntax.h"

namespace quillane {
namespace {

int DigitValue(char c, int base) {
  int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
  return v < base ? v : -1;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  std::size_t first = s.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view line, int number)>& onLine) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    onLine(line, ++number);
  }
}

std::string ParseQuotedText(std::string_view t) {
  if (t.empty() || t.front() != '"') throw QuotedTextError("expected a string in double quotes");
  std::string s;
  for (std::size_t i = 1; i < t.size(); ++i) {
    char c = t[i];
    if (c == '"') {
      if (i + 1 != t.size()) throw QuotedTextError("text after the closing quote");
      return s;
    }
    if (c != '\\') {
      s += c;
      continue;
    }
    if (++i == t.size()) break;
    char e = t[i];
    switch (e) {
      case 'n': s += '\n'; continue;
      case 't': s += '\t'; continue;
      case 'r': s += '\r'; continue;
      case '"': s += '"'; continue;
      case '\\': s += '\\'; continue;
      case 'a': s += '\a'; continue;
      case 'b': s += '\b'; continue;
      case 'f': s += '\f'; continue;
      case 'v': s += '\v'; continue;
      default: break;
    }
    // Octal \o to \ooo, hexadecimal \xh or \xhh: one byte each.
    int base = e == 'x' ? 16 : 8;
    std::size_t first = e == 'x' ? i + 1 : i;
    std::size_t maxDigits = e == 'x' ? 2 : 3;
    int value = 0;
    std::size_t n = 0;
    while (n < maxDigits && first + n < t.size() && DigitValue(t[first + n], base) >= 0)
      value = value * base + DigitValue(t[first + n++], base);
    if (n == 0 || value > 0xFF) throw QuotedTextError(std::string("unknown escape \\") + e);
    s += static_cast<char>(value);
    i = first + n - 1;
  }
  throw QuotedTextError("the string has no closing quote");
}

}  // namespace quillane
