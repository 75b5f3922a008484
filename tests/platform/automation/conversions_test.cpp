#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/automation/automation.h"

namespace quillane {
namespace {

// Each conversion: a value in, the VB result or the VB error number out.
struct ConversionCase {
  const char* what;
  std::function<Variant()> run;
  std::optional<Variant> expected;
  std::int32_t error = 0;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.what; }

class Conversions : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversions, GiveVbResultOrError) {
  const ConversionCase& c = GetParam();
  if (c.error) {
    try {
      c.run();
      FAIL() << c.what << " should raise " << c.error;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number, c.error) << c.what;
      EXPECT_EQ(e.description, vbErrorDescription(static_cast<VbError>(c.error)));
    }
  } else {
    EXPECT_EQ(c.run(), *c.expected) << c.what;
  }
}

Variant str(const Variant& v) { return CStr(v); }
Variant lng(const Variant& v) { return CLng(v); }
Variant integer(const Variant& v) { return CInt(v); }
Variant dec(std::string_view text) { return Variant(CDec(Variant(text))); }

INSTANTIATE_TEST_SUITE_P(
    Table, Conversions,
    ::testing::Values(
        ConversionCase{"CStr Empty", [] { return str(Variant()); }, Variant("")},
        ConversionCase{"CStr Null", [] { return str(Variant::null()); }, std::nullopt, 94},
        ConversionCase{"CStr True", [] { return str(true); }, Variant("True")},
        ConversionCase{"CStr False", [] { return str(false); }, Variant("False")},
        ConversionCase{"CStr Integer", [] { return str(std::int16_t{-7}); }, Variant("-7")},
        ConversionCase{"CStr Long", [] { return str(std::int32_t{123456}); }, Variant("123456")},
        ConversionCase{"CStr Double", [] { return str(0.1); }, Variant("0.1")},
        ConversionCase{"CStr Double third", [] { return str(1.0 / 3); }, Variant("0.333333333333333")},
        ConversionCase{"CStr Double whole", [] { return str(2.0); }, Variant("2")},
        ConversionCase{"CStr Double large", [] { return str(1e20); }, Variant("1E+20")},
        ConversionCase{"CStr Double small", [] { return str(1.5e-5); }, Variant("1.5E-05")},
        ConversionCase{"CStr Currency", [] { return str(Currency{12345}); }, Variant("1.2345")},
        ConversionCase{"CStr Currency trims", [] { return str(Currency{-15000}); }, Variant("-1.5")},
        ConversionCase{"CStr Date", [] { return str(MakeDate(2024, 2, 29)); }, Variant("2024-02-29")},
        ConversionCase{"CStr Date time", [] { return str(MakeDate(1999, 12, 31, 23, 59, 58)); },
                       Variant("1999-12-31 23:59:58")},
        ConversionCase{"CStr Date before epoch", [] { return str(MakeDate(1899, 12, 29, 6, 0, 0)); },
                       Variant("1899-12-29 06:00:00")},
        ConversionCase{"CLng text", [] { return lng(" 42 "); }, Variant(std::int32_t{42})},
        ConversionCase{"CLng rounds half even down", [] { return lng(2.5); }, Variant(std::int32_t{2})},
        ConversionCase{"CLng rounds half even up", [] { return lng(3.5); }, Variant(std::int32_t{4})},
        ConversionCase{"CLng negative half", [] { return lng("-2.5"); }, Variant(std::int32_t{-2})},
        ConversionCase{"CLng True", [] { return lng(true); }, Variant(std::int32_t{-1})},
        ConversionCase{"CLng Empty", [] { return lng(Variant()); }, Variant(std::int32_t{0})},
        ConversionCase{"CLng hex", [] { return lng("&HFF"); }, Variant(std::int32_t{255})},
        ConversionCase{"CLng Null", [] { return lng(Variant::null()); }, std::nullopt, 94},
        ConversionCase{"CLng letters", [] { return lng("abc"); }, std::nullopt, 13},
        ConversionCase{"CLng empty text", [] { return lng(""); }, std::nullopt, 13},
        ConversionCase{"CLng overflow", [] { return lng(2147483648.0); }, std::nullopt, 6},
        ConversionCase{"CLng max", [] { return lng("2147483647"); }, Variant(std::int32_t{2147483647})},
        ConversionCase{"CInt overflow", [] { return integer("32768"); }, std::nullopt, 6},
        ConversionCase{"CInt min", [] { return integer(-32768.0); }, Variant(std::int16_t{-32768})},
        ConversionCase{"CInt exponent", [] { return integer("1.5E2"); }, Variant(std::int16_t{150})},
        ConversionCase{"CBool text", [] { return Variant(CBool(" true ")); }, Variant(true)},
        ConversionCase{"CBool number text", [] { return Variant(CBool("0")); }, Variant(false)},
        ConversionCase{"CBool number", [] { return Variant(CBool(std::int32_t{-3})); }, Variant(true)},
        ConversionCase{"CBool Null", [] { return Variant(CBool(Variant::null())); }, std::nullopt, 94},
        ConversionCase{"CBool letters", [] { return Variant(CBool("yes")); }, std::nullopt, 13},
        ConversionCase{"CDbl text", [] { return Variant(CDbl("-1.25")); }, Variant(-1.25)},
        ConversionCase{"CDbl object", [] { return Variant(CDbl(Variant(std::make_shared<AutomationObject>()))); },
                       std::nullopt, 13},
        ConversionCase{"CCur rounds", [] { return Variant(CCur(1.23456)); }, Variant(Currency{12346})},
        ConversionCase{"Val leading number", [] { return Variant(Val("12abc")); }, Variant(12.0)},
        ConversionCase{"Val blanks inside", [] { return Variant(Val(" 1 2 . 5")); }, Variant(12.5)},
        ConversionCase{"Val no number", [] { return Variant(Val("abc")); }, Variant(0.0)},
        ConversionCase{"Val exponent", [] { return Variant(Val("2e3x")); }, Variant(2000.0)},
        ConversionCase{"Val bare exponent", [] { return Variant(Val("2e")); }, Variant(2.0)},
        ConversionCase{"Val hex", [] { return Variant(Val("&H10")); }, Variant(16.0)},
        ConversionCase{"IsNumeric text", [] { return Variant(IsNumeric(" -1.5e3 ")); }, Variant(true)},
        ConversionCase{"IsNumeric letters", [] { return Variant(IsNumeric("1a")); }, Variant(false)},
        ConversionCase{"IsNumeric empty text", [] { return Variant(IsNumeric("")); }, Variant(false)},
        ConversionCase{"IsNumeric Empty", [] { return Variant(IsNumeric(Variant())); }, Variant(true)},
        ConversionCase{"IsNumeric Null", [] { return Variant(IsNumeric(Variant::null())); }, Variant(false)},
        ConversionCase{"IsNumeric Date", [] { return Variant(IsNumeric(MakeDate(2000, 1, 1))); }, Variant(false)},
        // A Decimal keeps every digit through CStr, converts exactly to the integer types and Currency,
        // and to a Double as near as a Double comes.
        ConversionCase{"CStr Decimal", [] { return str(dec("12345678901234.1234567891")); },
                       Variant("12345678901234.1234567891")},
        ConversionCase{"CStr Decimal small", [] { return str(dec("0.000001")); }, Variant("0.000001")},
        ConversionCase{"CStr Decimal trailing zeros", [] { return str(dec("-1.5000")); }, Variant("-1.5")},
        ConversionCase{"CStr Decimal 28 digits", [] { return str(dec("7922816251426433759354395033")); },
                       Variant("7922816251426433759354395033")},
        ConversionCase{"CStr Decimal exponent read", [] { return str(dec("1.5E-7")); }, Variant("0.00000015")},
        ConversionCase{"CDec Double by 15 digits", [] { return str(Variant(CDec(0.1 + 0.2))); }, Variant("0.3")},
        ConversionCase{"CDec Currency", [] { return str(Variant(CDec(Currency{-9223372036854775807LL}))); },
                       Variant("-922337203685477.5807")},
        ConversionCase{"CDec letters", [] { return dec("1.2.3"); }, std::nullopt, 13},
        ConversionCase{"CDec Null", [] { return Variant(CDec(Variant::null())); }, std::nullopt, 94},
        ConversionCase{"CDec too many digits", [] { return dec("1" + std::string(38, '0')); }, std::nullopt, 6},
        ConversionCase{"CLng Decimal half even", [] { return lng(dec("2.5")); }, Variant(std::int32_t{2})},
        ConversionCase{"CLng Decimal above half", [] { return lng(dec("-2.5000000000000000001")); },
                       Variant(std::int32_t{-3})},
        ConversionCase{"CLng Decimal overflow", [] { return lng(dec("2147483647.5")); }, std::nullopt, 6},
        ConversionCase{"CInt Decimal", [] { return integer(dec("-32768.4")); }, Variant(std::int16_t{-32768})},
        ConversionCase{"CDbl Decimal", [] { return Variant(CDbl(dec("0.000001"))); }, Variant(1e-6)},
        ConversionCase{"CCur Decimal exact", [] { return Variant(CCur(dec("922337203685477.5807"))); },
                       Variant(Currency{9223372036854775807LL})},
        ConversionCase{"CCur Decimal overflow", [] { return Variant(CCur(dec("922337203685477.5808"))); },
                       std::nullopt, 6},
        ConversionCase{"CCur text exact", [] { return Variant(CCur("123456789012.3456")); },
                       Variant(Currency{1234567890123456LL})},
        ConversionCase{"CBool Decimal", [] { return Variant(CBool(dec("0.0000"))); }, Variant(false)},
        ConversionCase{"IsNumeric Decimal", [] { return Variant(IsNumeric(dec("1"))); }, Variant(true)},
        ConversionCase{"Decimal equal whatever the scale", [] { return Variant(dec("1.50") == dec("1.5")); },
                       Variant(true)},
        ConversionCase{"Val of a Decimal's text", [] { return Variant(Val(CStr(dec("0.000001")))); },
                       Variant(1e-6)}));

TEST(Dates, ParseAcceptsIsoFormsAndRefusesImpossibleDates) {
  Date d;
  ASSERT_TRUE(ParseDate("2023-03-04", d));
  EXPECT_EQ(FormatDate(d), "2023-03-04");
  ASSERT_TRUE(ParseDate("2023-03-04T05:06:07", d));
  EXPECT_EQ(FormatDate(d, 'T'), "2023-03-04T05:06:07");
  ASSERT_TRUE(ParseDate("1899-12-30", d));
  EXPECT_EQ(d.serial, 0);
  EXPECT_FALSE(ParseDate("2023-02-30", d));
  EXPECT_FALSE(ParseDate("2023-03-04x", d));
  EXPECT_FALSE(ParseDate("not a date", d));
}

TEST(VariantTypes, TypeNamesAndVarTypesFollowVb) {
  EXPECT_EQ(TypeName(Variant()), "Empty");
  EXPECT_EQ(TypeName(Variant::null()), "Null");
  EXPECT_EQ(TypeName(Variant(std::int16_t{1})), "Integer");
  EXPECT_EQ(TypeName(Variant(Bytes{1, 2})), "Byte()");
  EXPECT_EQ(static_cast<int>(Variant(std::int32_t{1}).type()), 3);
  EXPECT_EQ(static_cast<int>(Variant(true).type()), 11);
  EXPECT_EQ(static_cast<int>(Variant(Decimal(1)).type()), 14);
  EXPECT_EQ(TypeName(Variant(Decimal(1))), "Decimal");
  EXPECT_THROW(Variant("x").object(), AutomationError);
}

TEST(ErrObject, SetClearAndRaise) {
  Err().set(AutomationError(13, "src", "desc"));
  EXPECT_EQ(Err().Number, 13);
  try {
    Err().Raise();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.source, "src");
    EXPECT_EQ(e.description, "desc");
  }
  Err().Clear();
  EXPECT_EQ(Err(), ErrState{});
}

}  // namespace
}  // namespace quillane
