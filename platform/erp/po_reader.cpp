#include "platform/erp/po_reader.h"

#include "platform/registry/text_syntax.h"

namespace quillane::erp {
namespace {

std::string ParseString(std::string_view t, int line) {
  try {
    return ParseQuotedText(t);
  } catch (const QuotedTextError& e) {
    throw PoSyntaxError(line, e.what());
  }
}

class Parser {
 public:
  PoMessages Run(std::string_view text) {
    ForEachLine(text, [this](std::string_view raw, int number) {
      line_ = number;
      OnLine(TrimBlanks(raw));
    });
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
