#include <gtest/gtest.h>

#include "platform/automation/errors.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

TEST(VbText, LengthsAndPositionsCountCharacters) {
  const std::string cjk = "部门A一";  // four characters, ten bytes
  EXPECT_EQ(Len(cjk), 4u);
  EXPECT_EQ(Left(cjk, 2), "部门");
  EXPECT_EQ(Right(cjk, 2), "A一");
  EXPECT_EQ(Mid(cjk, 3), "A一");
  EXPECT_EQ(Mid(cjk, 2, 2), "门A");
  EXPECT_EQ(Mid(cjk, 9), "");
  EXPECT_EQ(InStr(cjk, "A"), 3u);
  EXPECT_EQ(InStr(4, cjk, "A"), 0u);
  EXPECT_EQ(InStr(cjk, ""), 1u);
  EXPECT_EQ(InStr(1, "abcABC", "C", true), 3u);
  EXPECT_EQ(InStrRev("01.02.003", "."), 6u);
  EXPECT_THROW(Mid(cjk, 0), AutomationError);
}

TEST(VbText, SplitJoinReplace) {
  EXPECT_TRUE(Split("", ".").empty());
  EXPECT_EQ(Split("a..b", "."), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Split("a.b.c", ".", 2), (std::vector<std::string>{"a", "b.c"}));
  EXPECT_EQ(Join({"a", "b"}, "\r\n"), "a\r\nb");
  EXPECT_EQ(Replace("it's o'k", "'", "''"), "it''s o''k");
  EXPECT_EQ(Replace("aaa", "", "x"), "aaa");
}

TEST(VbText, TrimTakesOnlyBlanksAndCaseIsAscii) {
  EXPECT_EQ(Trim("  a b \t "), "a b \t");
  EXPECT_EQ(LTrim("  x "), "x ");
  EXPECT_EQ(RTrim("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(UCase("gy部"), "GY部");
  EXPECT_TRUE(SameText("VELMORA", "Velmora"));
  EXPECT_FALSE(SameText("Velmora", "Velmor"));
  EXPECT_TRUE(NoCaseLess()("abc", "ABD"));
}

TEST(VbText, Utf16RoundTripIncludingSurrogatesAndBadInput) {
  const std::string text = "A部\xF0\x9F\x98\x80";  // ASCII, CJK and a character beyond the BMP
  auto utf16 = Utf8ToUtf16Le(text);
  EXPECT_EQ(utf16.size(), 8u);
  EXPECT_EQ(Utf16LeToUtf8(utf16), text);
  EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le("\xE9x")), "\xEF\xBF\xBDx");  // a lone Latin-1 byte
}

}  // namespace
}  // namespace quillane
