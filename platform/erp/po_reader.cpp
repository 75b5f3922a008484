#include "platform/erp/po_reader.h"

#include <optional>

namespace quillane::erp {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  std::size_t first = s.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

int DigitValue(char c, int base) {
  int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
  return v < base ? v : -1;
}

// One quoted string, from its opening quote to its closing one, which must end the line.
std::string ParseString(std::string_view t, int line) {
  if (t.empty() || t.front() != '"') throw PoSyntaxError(line, "expected a string in double quotes");
  std::string s;
  for (std::size_t i = 1; i < t.size(); ++i) {
    char c = t[i];
    if (c == '"') {
      if (i + 1 != t.size()) throw PoSyntaxError(line, "text after the closing quote");
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
    if (n == 0 || value > 0xFF) throw PoSyntaxError(line, std::string("unknown escape \\") + e);
    s += static_cast<char>(value);
    i = first + n - 1;
  }
  throw PoSyntaxError(line, "the string has no closing quote");
}

class Parser {
 public:
  PoMessages Run(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    for (std::size_t pos = 0; pos < text.size();) {
      std::size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.size();
      std::string_view raw = text.substr(pos, end - pos);
      pos = end + 1;
      ++line_;
      if (raw.ends_with('\r')) raw.remove_suffix(1);
      OnLine(TrimBlanks(raw));
    }
    if (field_ == Field::Id) throw PoSyntaxError(entry_.idLine, "msgid without msgstr");
    Finish();
    return std::move(messages_);
  }

 private:
  enum class Field { None, Id, Str };
  struct Entry {
    bool fuzzy = false;
    std::string id;
    std::string str;
    int idLine = 0;
  };

  void OnLine(std::string_view t) {
    if (t.empty()) return;
    if (t.front() == '#') return OnComment(t);
    if (t.front() == '"') {
      if (field_ == Field::None) throw PoSyntaxError(line_, "a string without msgid or msgstr before it");
      (field_ == Field::Id ? entry_.id : entry_.str) += ParseString(t, line_);
      return;
    }
    std::size_t end = t.find_first_of(" \t\"");
    std::string_view keyword = t.substr(0, end);
    std::string_view rest = end == std::string_view::npos ? std::string_view{} : TrimBlanks(t.substr(end));
    if (keyword == "msgid") {
      if (field_ == Field::Id) throw PoSyntaxError(entry_.idLine, "msgid without msgstr");
      Finish();
      entry_.id = ParseString(rest, line_);
      entry_.idLine = line_;
      field_ = Field::Id;
    } else if (keyword == "msgstr") {
      if (field_ != Field::Id) throw PoSyntaxError(line_, "msgstr without msgid");
      entry_.str = ParseString(rest, line_);
      field_ = Field::Str;
    } else if (keyword == "msgctxt" || keyword == "msgid_plural" || keyword.starts_with("msgstr[")) {
      throw PoSyntaxError(line_, std::string(keyword) + " is not supported (no contexts or plural forms)");
    } else {
      throw PoSyntaxError(line_, "expected msgid, msgstr, a string or a comment");
    }
  }

  void OnComment(std::string_view t) {
    if (field_ == Field::Id) throw PoSyntaxError(line_, "a comment between msgid and msgstr");
    if (field_ == Field::Str) Finish();
    if (t.starts_with("#,") && t.find("fuzzy") != std::string_view::npos) entry_.fuzzy = true;
  }

  // Takes in the entry whose msgstr was read; before that there is nothing to finish, and the flags
  // read so far belong to the entry still to come.
  void Finish() {
    if (field_ != Field::Str) return;
    auto [it, added] = seen_.emplace(entry_.id, entry_.idLine);
    if (!added)
      throw PoSyntaxError(entry_.idLine, "msgid \"" + entry_.id + "\" is given twice (first at line " +
                                             std::to_string(it->second) + ")");
    if (!entry_.fuzzy && !entry_.id.empty() && !entry_.str.empty()) messages_.emplace(entry_.id, entry_.str);
    entry_ = Entry{};
    field_ = Field::None;
  }

  PoMessages messages_;
  std::map<std::string, int, std::less<>> seen_;
  Entry entry_;
  Field field_ = Field::None;
  int line_ = 0;
};

}  // namespace

PoMessages ParsePo(std::string_view text) { return Parser().Run(text); }

}  // namespace quillane::erp
