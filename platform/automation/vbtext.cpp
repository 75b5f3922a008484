#include "platform/automation/vbtext.h"

#include <algorithm>

#include "platform/automation/errors.h"

namespace quillane {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character at 0-based index `chars`, or s.size() when the text is shorter.
std::size_t byteOffset(std::string_view s, std::size_t chars) {
  std::size_t i = 0;
  while (i < s.size() && chars > 0) {
    ++i;
    while (i < s.size() && isContinuation(static_cast<unsigned char>(s[i]))) ++i;
    --chars;
  }
  return i;
}

std::size_t charIndex(std::string_view s, std::size_t byte) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < byte && i < s.size(); ++i)
    if (!isContinuation(static_cast<unsigned char>(s[i]))) ++n;
  return n;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point at s[i], advancing i; malformed input gives U+FFFD for one byte.
char32_t decodeUtf8(std::string_view s, std::size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
  if (extra == 0) {
    ++i;
    return c;
  }
  if (extra < 0 || i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if (!isContinuation(cc)) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  i += extra + 1;
  return cp;
}

}  // namespace

std::size_t Len(std::string_view s) { return charIndex(s, s.size()); }

std::string Left(std::string_view s, std::size_t count) { return std::string(s.substr(0, byteOffset(s, count))); }

std::string Right(std::string_view s, std::size_t count) {
  std::size_t length = Len(s);
  return count >= length ? std::string(s) : std::string(s.substr(byteOffset(s, length - count)));
}

std::string Mid(std::string_view s, std::size_t start, std::size_t count) {
  if (start == 0) throw vbError(VbError::InvalidProcedureCall);
  std::size_t from = byteOffset(s, start - 1);
  std::string_view rest = s.substr(from);
  return count == std::string_view::npos ? std::string(rest) : std::string(rest.substr(0, byteOffset(rest, count)));
}

std::size_t InStr(std::size_t start, std::string_view s, std::string_view find, bool textCompare) {
  if (start == 0) throw vbError(VbError::InvalidProcedureCall);
  std::size_t from = byteOffset(s, start - 1);
  if (start - 1 > Len(s)) return 0;
  if (find.empty()) return start;
  std::string hay(s), needle(find);
  if (textCompare) {
    hay = LCase(hay);
    needle = LCase(needle);
  }
  std::size_t at = hay.find(needle, from);
  return at == std::string::npos ? 0 : charIndex(s, at) + 1;
}

std::size_t InStrRev(std::string_view s, std::string_view find) {
  if (find.empty()) return Len(s);
  std::size_t at = s.rfind(find);
  return at == std::string_view::npos ? 0 : charIndex(s, at) + 1;
}

std::vector<std::string> Split(std::string_view s, std::string_view delimiter, int limit) {
  std::vector<std::string> parts;
  if (s.empty()) return parts;
  if (delimiter.empty()) return {std::string(s)};
  std::size_t from = 0;
  while (limit < 0 || static_cast<int>(parts.size()) < limit - 1) {
    std::size_t at = s.find(delimiter, from);
    if (at == std::string_view::npos) break;
    parts.emplace_back(s.substr(from, at - from));
    from = at + delimiter.size();
  }
  parts.emplace_back(s.substr(from));
  return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view delimiter) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += delimiter;
    out += parts[i];
  }
  return out;
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(s);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = s.find(find, from)) != std::string_view::npos; from = at + find.size()) {
    out.append(s.substr(from, at - from));
    out.append(with);
  }
  out.append(s.substr(from));
  return out;
}

std::string_view LTrim(std::string_view s) {
  std::size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string_view{} : s.substr(i);
}

std::string_view RTrim(std::string_view s) {
  std::size_t i = s.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string_view{} : s.substr(0, i + 1);
}

std::string_view Trim(std::string_view s) { return RTrim(LTrim(s)); }

std::string UCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), upper);
  return out;
}

std::string LCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), lower);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lower(x) == lower(y);
         });
}

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(lower(x)) < static_cast<unsigned char>(lower(y));
  });
}

std::vector<std::uint8_t> Utf8ToUtf16Le(std::string_view s) {
  std::vector<std::uint8_t> out;
  out.reserve(s.size() * 2);
  auto put = [&out](char16_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = decodeUtf8(s, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(static_cast<char16_t>(0xD800 | (cp >> 10)));
      put(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size) {
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    char32_t unit = data[i] | (data[i + 1] << 8);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < size) {
      char32_t low = data[i + 2] | (data[i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    appendUtf8(out, (unit >= 0xD800 && unit < 0xE000) ? 0xFFFD : unit);
  }
  return out;
}

std::string Utf16LeToUtf8(const std::vector<std::uint8_t>& bytes) { return Utf16LeToUtf8(bytes.data(), bytes.size()); }

}  // namespace quillane
