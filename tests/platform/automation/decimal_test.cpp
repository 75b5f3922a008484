#include "platform/automation/decimal.h"

#include <gtest/gtest.h>

#include <string>

namespace quillane {
namespace {

// Texts read with a scale limit: what is kept, or the refusal.
struct ReadCase {
  const char* text;
  int maxScale;
  Rounding rounding;
  const char* expected;  // nullptr: not a number; "overflow": too many digits before the point
};

class DecimalReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DecimalReads, KeepOrRoundOrRefuse) {
  const ReadCase& c = GetParam();
  Decimal d;
  Decimal::Parsed parsed = Decimal::FromText(c.text, true, c.maxScale, d, c.rounding);
  if (!c.expected) {
    EXPECT_EQ(parsed, Decimal::Parsed::NotANumber) << c.text;
  } else if (std::string(c.expected) == "overflow") {
    EXPECT_EQ(parsed, Decimal::Parsed::Overflow) << c.text;
  } else {
    ASSERT_EQ(parsed, Decimal::Parsed::Ok) << c.text;
    EXPECT_EQ(d.text(), c.expected) << c.text;
  }
}

constexpr Rounding kAway = Rounding::HalfAwayFromZero;
constexpr Rounding kEven = Rounding::HalfEven;

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalReads,
    ::testing::Values(ReadCase{"0", 38, kAway, "0"}, ReadCase{"-0.000", 38, kAway, "0"},
                      ReadCase{"+12.50", 38, kAway, "12.5"}, ReadCase{".5", 38, kAway, "0.5"},
                      ReadCase{"5.", 38, kAway, "5"}, ReadCase{"1E-06", 38, kAway, "0.000001"},
                      ReadCase{"1.25e3", 38, kAway, "1250"}, ReadCase{"2.345", 2, kAway, "2.35"},
                      ReadCase{"-2.345", 2, kAway, "-2.35"}, ReadCase{"2.345", 2, kEven, "2.34"},
                      ReadCase{"2.3450001", 2, kEven, "2.35"}, ReadCase{"0.0004", 3, kAway, "0"},
                      ReadCase{"0.00000000000000000000000000000000000000000007", 10, kAway, "0"},
                      ReadCase{"0.5", 0, kAway, "1"}, ReadCase{"0.05", 0, kAway, "0"},
                      ReadCase{"99999999999999999999999999999999999999", 38, kAway,
                               "99999999999999999999999999999999999999"},
                      ReadCase{"99999999999999999999999999999999999999.5", 38, kAway, "overflow"},
                      ReadCase{"123456789012345678901234567890123456789", 38, kAway, "overflow"},
                      ReadCase{"1e38", 38, kAway, "overflow"},
                      // Beyond 38 digits in all, the decimals give way.
                      ReadCase{"1234567890123456789012345678.123456789150", 38, kAway,
                               "1234567890123456789012345678.1234567892"},
                      ReadCase{"", 38, kAway, nullptr}, ReadCase{"-", 38, kAway, nullptr},
                      ReadCase{".", 38, kAway, nullptr}, ReadCase{"1e", 38, kAway, nullptr},
                      ReadCase{"1 ", 38, kAway, nullptr}, ReadCase{"1,5", 38, kAway, nullptr},
                      ReadCase{"0x10", 38, kAway, nullptr}));

TEST(DecimalValues, RescaleCompareAndConvert) {
  Decimal d;
  ASSERT_EQ(Decimal::FromText("-922337203685477.5808", false, 38, d), Decimal::Parsed::Ok);
  EXPECT_EQ(d.scaledInteger(4, kAway), -9223372036854775807LL - 1);
  ASSERT_EQ(Decimal::FromText("922337203685477.5808", false, 38, d), Decimal::Parsed::Ok);
  EXPECT_FALSE(d.scaledInteger(4, kAway));
  EXPECT_EQ(d.digits(), 19);
  EXPECT_EQ(d.integerDigits(), 15);
  EXPECT_EQ(d.rescaled(2)->text(), "922337203685477.58");
  EXPECT_EQ(Decimal::FromScaled(-15, 1).text(), "-1.5");
  EXPECT_FALSE(Decimal(1).rescaled(38));
  EXPECT_EQ(Decimal(1).rescaled(37)->digits(), 38);

  Decimal a, b;
  ASSERT_EQ(Decimal::FromText("0.1", false, 38, a), Decimal::Parsed::Ok);
  ASSERT_EQ(Decimal::FromText("99999999999999999999999999999999999999", false, 38, b), Decimal::Parsed::Ok);
  EXPECT_LT(Compare(a, b), 0);
  EXPECT_GT(Compare(Decimal(-1), Decimal(-2)), 0);
  ASSERT_EQ(Decimal::FromText("0.10000000000000000000000000000000000001", false, 38, b), Decimal::Parsed::Ok);
  EXPECT_LT(Compare(a, b), 0);

  EXPECT_EQ(Decimal::FromDouble(0.1)->text(), "0.1");
  EXPECT_EQ(Decimal::FromDouble(123456789012.3456)->text(), "123456789012.3456");
  EXPECT_EQ(Decimal::FromDouble(1.0 / 3, 15)->text(), "0.333333333333333");
  EXPECT_FALSE(Decimal::FromDouble(1e40));
  EXPECT_EQ(Decimal(std::int64_t{-9223372036854775807LL - 1}).text(), "-9223372036854775808");
}

}  // namespace
}  // namespace quillane
