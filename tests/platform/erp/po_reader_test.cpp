#include "platform/erp/po_reader.h"

#include <gtest/gtest.h>

namespace quillane::erp {
namespace {

TEST(PoReader, ReadsEntries) {
  struct Case {
    const char* name;
    const char* text;
    PoMessages messages;
  };
  const Case cases[] = {
      {"one entry", "msgid \"确定\"\nmsgstr \"OK\"\n", {{"确定", "OK"}}},
      {"entries without blank lines between them", "msgid \"a\"\nmsgstr \"1\"\nmsgid \"b\"\nmsgstr \"2\"",
       {{"a", "1"}, {"b", "2"}}},
      {"strings continued on the next lines",
       "msgid \"\"\n\"first \"\n\"second\"\nmsgstr \"one \"\n  \"two\"\n", {{"first second", "one two"}}},
      {"escapes", "msgid \"a\\\"b\\\\c\"\nmsgstr \"x\\ny\\tz\\r\\101\\x42\\0101\"\n",
       {{"a\"b\\c", "x\ny\tz\rAB\b1"}}},
      {"the header, untranslated and fuzzy entries are left out",
       "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
       "msgid \"untranslated\"\nmsgstr \"\"\n\n"
       "#, fuzzy, c-format\nmsgid \"fuzzy\"\nmsgstr \"guess\"\n\n"
       "msgid \"kept\"\nmsgstr \"yes\"\n",
       {{"kept", "yes"}}},
      {"a fuzzy flag marks only the entry after it",
       "msgid \"a\"\nmsgstr \"1\"\n#, fuzzy\nmsgid \"b\"\nmsgstr \"2\"\nmsgid \"c\"\nmsgstr \"3\"\n",
       {{"a", "1"}, {"c", "3"}}},
      {"comments of every kind",
       "# translator\n#. extracted\n#: file.cpp:10\n#| msgid \"old\"\nmsgid \"a\"\nmsgstr \"1\"\n"
       "#~ msgid \"obsolete\"\n#~ msgstr \"gone\"\n",
       {{"a", "1"}}},
      {"a byte-order mark, CR LF and indentation",
       "\xEF\xBB\xBFmsgid \"a\"\r\n\tmsgstr \"1\"\r\n", {{"a", "1"}}},
      {"an empty file", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParsePo(c.text), c.messages) << c.name;
}

TEST(PoReader, ReportsTheLineOfTheFirstFault) {
  struct Case {
    const char* text;
    int line;
    const char* fault;
  };
  const Case cases[] = {
      {"msgid \"a\"\n", 1, "msgid without msgstr"},
      {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"2\"\n", 1, "msgid without msgstr"},
      {"msgstr \"1\"\n", 1, "msgstr without msgid"},
      {"\"text\"\n", 1, "a string without msgid or msgstr"},
      {"msgid \"a\"\nmsgstr \"open\n", 2, "no closing quote"},
      {"msgid \"a\"\nmsgstr \"1\" trailing\n", 2, "text after the closing quote"},
      {"msgid \"a\"\nmsgstr 1\n", 2, "expected a string"},
      {"msgid \"a\\q\"\nmsgstr \"1\"\n", 1, "unknown escape \\q"},
      {"msgid \"a\\x\"\nmsgstr \"1\"\n", 1, "unknown escape \\x"},
      {"msgid \"a\"\nmsgstr \"1\"\n\nmsgid \"a\"\nmsgstr \"2\"\n", 4, "given twice (first at line 1)"},
      {"msgctxt \"menu\"\nmsgid \"a\"\nmsgstr \"1\"\n", 1, "msgctxt is not supported"},
      {"msgid \"a\"\nmsgid_plural \"as\"\n", 2, "msgid_plural is not supported"},
      {"msgid \"a\"\n# note\nmsgstr \"1\"\n", 2, "a comment between msgid and msgstr"},
      {"msgid \"a\"\nmsgstr \"1\"\nmsgtext \"b\"\n", 3, "expected msgid, msgstr"},
  };
  for (const Case& c : cases) {
    try {
      ParsePo(c.text);
      ADD_FAILURE() << "no fault found in: " << c.text;
    } catch (const PoSyntaxError& e) {
      EXPECT_EQ(e.line, c.line) << c.text;
      EXPECT_NE(std::string(e.what()).find(c.fault), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace quillane::erp
