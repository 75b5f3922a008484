// Values quoted in error texts: cut to what a reader can take in, counted in code points, and only
// inside the quotes of a text that quotes them.
#include <gtest/gtest.h>

#include "platform/automation/error_text.h"

namespace quillane {
namespace {

TEST(ErrorText, AValueIsShownWholeUpToTheBoundAndCutAfterIt) {
  const std::string ascii(kShownCodePoints, 'x');
  std::string wide;
  for (std::size_t i = 0; i < kShownCodePoints + 1; ++i) wide += "部";
  struct Case {
    const char* what;
    std::string value, shown;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"at the bound", ascii, ascii},
      {"one past it", ascii + "y", ascii + "…(201 bytes)"},
      {"characters of three bytes", wide, wide.substr(0, 3 * kShownCodePoints) + "…(603 bytes)"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShownInError(c.value), c.shown) << c.what;
}

TEST(ErrorText, OnlyTheQuotedValuesOfATextAreCut) {
  const std::string big(kShownCodePoints + 50, 'B'), cut = big.substr(0, kShownCodePoints) + "…(250 bytes)";
  struct Case {
    const char* what;
    std::string text, shown;
  };
  const Case cases[] = {
      {"a short statement", "UPDATE t SET a='x'", "UPDATE t SET a='x'"},
      {"a long literal", "INSERT INTO t VALUES (2,'N1','" + big + "')", "INSERT INTO t VALUES (2,'N1','" + cut + "')"},
      {"a doubled quote inside", "SET a='it''s " + big + "',b='y'", "SET a='" + ShownInError("it''s " + big) + "',b='y'"},
      {"an unclosed quote", "value '" + big, "value '" + cut},
      {"a long text without quotes", big, big},
      {"a message", "Element 'Name': The value '" + big + "' is too long.",
       "Element 'Name': The value '" + cut + "' is too long."},
  };
  for (const Case& c : cases) EXPECT_EQ(QuotedValuesShownInError(c.text), c.shown) << c.what;
}

}  // namespace
}  // namespace quillane
