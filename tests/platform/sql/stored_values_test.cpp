// Values written into columns follow SQL Server's rules for the column's declared type: one row per
// case, written once by INSERT and once by UPDATE into a table created at run time; the outcome is
// what the file holds (as SQLite quotes it) or the error, and after an error nothing is stored.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/sql/errors.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

struct ValueCase {
  const char* declared;
  const char* written;   // SQL Server text of the value
  const char* expected;  // the stored value as quote() gives it, or "<number>: <description>"
};

// Conversion refused: 0x80040E07; out of range or too long: 0x80040E57.
#define CONVERSION "80040E07: "
#define OVERFLOW "80040E57: "

const ValueCase kValueCases[] = {
    {"bit", "'True'", "1"},
    {"bit", "'false'", "0"},
    {"bit", "''", "0"},
    {"bit", "5", "1"},
    {"bit", "0.5", "1"},
    {"bit", "'1'", "1"},
    {"bit", "'yes'", CONVERSION "Conversion failed when converting the varchar value 'yes' to data type bit."},
    {"tinyint", "255", "255"},
    {"tinyint", "256", OVERFLOW "Arithmetic overflow error for data type tinyint, value = 256."},
    {"tinyint", "-1", OVERFLOW "Arithmetic overflow error for data type tinyint, value = -1."},
    {"smallint", "' -12 '", "-12"},
    {"smallint", "''", "0"},
    {"smallint", "1.9", "1"},
    {"smallint", "-1.9", "-1"},
    {"smallint", "32768", OVERFLOW "Arithmetic overflow error for data type smallint, value = 32768."},
    {"smallint", "1e20", OVERFLOW "Arithmetic overflow error converting expression to data type smallint."},
    {"smallint", "99999999999999999999", OVERFLOW "Arithmetic overflow error converting expression to data type smallint."},
    {"smallint", "'99999'",
     OVERFLOW "The conversion of the varchar value '99999' overflowed an INT2 column. Use a larger integer column."},
    {"smallint", "'1.5'", CONVERSION "Conversion failed when converting the varchar value '1.5' to data type smallint."},
    {"int", "'+42'", "42"},
    {"int", "0x0000002A", "42"},
    {"int", "'abc'", CONVERSION "Conversion failed when converting the varchar value 'abc' to data type int."},
    {"int", "'True'", CONVERSION "Conversion failed when converting the varchar value 'True' to data type int."},
    {"int", "2147483648", OVERFLOW "Arithmetic overflow error converting expression to data type int."},
    {"int", "'3000000000'", OVERFLOW "The conversion of the varchar value '3000000000' overflowed an int column."},
    {"bigint", "'9223372036854775807'", "9223372036854775807"},
    {"bigint", "'9223372036854775808'", OVERFLOW "Arithmetic overflow error converting expression to data type bigint."},
    {"real", "0.1", "1.00000001490116119384e-01"},
    {"real", "'1e39'", OVERFLOW "Arithmetic overflow error converting expression to data type real."},
    {"float", "'1.5e3'", "1500.0"},
    {"float", "''", "0.0"},
    {"float", "'1,5'", CONVERSION "Error converting data type varchar to float."},
    {"decimal(5,2)", "2.345", "2.35"},
    {"decimal(5,2)", "'-2.345'", "-2.35"},
    {"decimal(5,2)", "999.994", "999.99"},
    {"decimal(5,2)", "999.995", OVERFLOW "Arithmetic overflow error converting numeric to data type numeric."},
    {"decimal(5,2)", "-999.995", OVERFLOW "Arithmetic overflow error converting numeric to data type numeric."},
    {"decimal(5,2)", "9.99995e2", OVERFLOW "Arithmetic overflow error converting float to data type numeric."},
    {"decimal(5,2)", "'1000'", OVERFLOW "Arithmetic overflow error converting varchar to data type numeric."},
    {"decimal(5,2)", "''", CONVERSION "Error converting data type varchar to numeric."},
    {"decimal(5,2)", "'1e2'", CONVERSION "Error converting data type varchar to numeric."},
    {"numeric", "12.5", "13"},
    {"money", "'$1,234.5'", "1234.5"},
    {"money", "'-¥12'", "-12"},
    {"money", "12.34567", "12.3457"},
    {"money", "''", "0"},
    {"money", "'12 dollars'", CONVERSION "Cannot convert a char value to money. The char value has incorrect syntax."},
    {"money", "1e15", OVERFLOW "Arithmetic overflow error converting expression to data type money."},
    {"smallmoney", "214748.3647", "214748.3647"},
    {"smallmoney", "214748.3648", OVERFLOW "Arithmetic overflow error converting expression to data type smallmoney."},
    {"datetime", "'2024-02-29 10:20:30'", "'2024-02-29 10:20:30'"},
    {"datetime", "'2024-02-29 00:00:00.000'", "'2024-02-29'"},
    {"datetime", "'20240105'", "'2024-01-05'"},
    {"datetime", "'2024/1/5 8:05 PM'", "'2024-01-05 20:05:00'"},
    {"datetime", "'2024-01-05T10:20:30.002'", "'2024-01-05 10:20:30.003'"},
    {"datetime", "'2024-12-31 23:59:59.999'", "'2025-01-01'"},
    {"datetime", "'10:20'", "'1900-01-01 10:20:00'"},
    {"datetime", "''", "'1900-01-01'"},
    {"datetime", "45000.5", "'2023-03-17 12:00:00'"},
    {"datetime", "-0.25", "'1899-12-31 18:00:00'"},
    {"datetime", "'not a date'", CONVERSION "Conversion failed when converting date and/or time from character string."},
    {"datetime", "'2024-01-05 25:00'", CONVERSION "Conversion failed when converting date and/or time from character string."},
    {"datetime", "'2023-02-29'",
     OVERFLOW "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
    {"datetime", "'1752-12-31'",
     OVERFLOW "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value."},
    {"smalldatetime", "'2024-01-05 10:20:29.998'", "'2024-01-05 10:20:00'"},
    {"smalldatetime", "'2024-01-05 10:20:29.999'", "'2024-01-05 10:21:00'"},
    {"smalldatetime", "'2079-06-07'",
     OVERFLOW "The conversion of a varchar data type to a smalldatetime data type resulted in an out-of-range value."},
    {"smalldatetime", "'soon'", CONVERSION "Conversion failed when converting character string to smalldatetime data type."},
    {"date", "'2024-01-05 10:20'", "'2024-01-05'"},
    {"date", "5", CONVERSION "Operand type clash: int is incompatible with date"},
    {"varchar(5)", "'abcde'", "'abcde'"},
    {"varchar(5)", "'abcdef'", OVERFLOW "String or binary data would be truncated."},
    {"varchar(5)", "N'中文中文中'", "'中文中文中'"},
    {"varchar(5)", "12345", "'12345'"},
    {"varchar(5)", "123456", OVERFLOW "String or binary data would be truncated."},
    {"varchar(5)", "1.5", "'1.5'"},
    {"varchar", "'ab'", OVERFLOW "String or binary data would be truncated."},
    {"char(2)", "'a'", "'a'"},
    {"nvarchar(max)", "'" "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz" "'",
     "'abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz'"},
    {"uniqueidentifier", "'{6f9619ff-8b86-d011-b42d-00c04fc964ff}'", "'6F9619FF-8B86-D011-B42D-00C04FC964FF'"},
    {"uniqueidentifier", "'6F9619FF-8B86-D011-B42D'",
     CONVERSION "Conversion failed when converting from a character string to uniqueidentifier."},
    {"uniqueidentifier", "5", CONVERSION "Operand type clash: int is incompatible with uniqueidentifier"},
    {"varbinary(4)", "0x0102", "X'0102'"},
    {"varbinary(4)", "0x", "X''"},
    {"varbinary(4)", "42", "X'0000002A'"},
    {"varbinary(4)", "0x0102030405", OVERFLOW "String or binary data would be truncated."},
    {"varbinary(4)", "'ab'",
     CONVERSION "Implicit conversion from data type varchar to varbinary is not allowed. Use the CONVERT function to run "
                "this query."},
    {"binary(4)", "0x01", "X'01000000'"},
    {"int", "NULL", "NULL"},
    {"datetime", "NULL", "NULL"},
};


// Decimal and money values keep every digit of their type: written as literals (which the statement
// cache binds as parameters) and as texts, stored as the column's type holds them, read back as the
// Decimal or Currency's text; or refused with SQL Server's error.
const ValueCase kExactCases[] = {
    {"decimal(28,10)", "12345678901234.1234567891", "12345678901234.1234567891"},
    {"decimal(28,10)", "-12345678901234.1234567891", "-12345678901234.1234567891"},
    {"decimal(28,10)", "'12345678901234.1234567891'", "12345678901234.1234567891"},
    {"decimal(28,10)", "0.000001", "0.000001"},
    {"decimal(28,10)", "0.00000000005", "0.0000000001"},
    {"decimal(28,10)", "-0.00000000004", "0"},
    {"decimal(28,10)", "123456789012345678.99999999995", "123456789012345679"},
    {"decimal(28,10)", "999999999999999999.9999999999", "999999999999999999.9999999999"},
    {"decimal(28,10)", "-999999999999999999.9999999999", "-999999999999999999.9999999999"},
    {"decimal(28,10)", "999999999999999999.99999999995",
     OVERFLOW "Arithmetic overflow error converting numeric to data type numeric."},
    {"decimal(28,10)", "'1000000000000000000'", OVERFLOW "Arithmetic overflow error converting varchar to data type numeric."},
    {"decimal(28,10)", "1e-6", "0.000001"},
    {"decimal(38,0)", "99999999999999999999999999999999999999", "99999999999999999999999999999999999999"},
    {"decimal(38,38)", "0.12345678901234567890123456789012345678", "0.12345678901234567890123456789012345678"},
    {"decimal(18,4)", "12345678901234.56785", "12345678901234.5679"},
    {"decimal(18,4)", "12345678901234567", OVERFLOW "Arithmetic overflow error converting int to data type numeric."},
    {"money", "123456789012.3456", "123456789012.3456"},
    {"money", "'123456789012.3456'", "123456789012.3456"},
    {"money", "922337203685477.5807", "922337203685477.5807"},
    {"money", "-922337203685477.5808", "-922337203685477.5808"},
    {"money", "922337203685477.5808", OVERFLOW "Arithmetic overflow error converting expression to data type money."},
    {"money", "'-922337203685477.5809'", OVERFLOW "Arithmetic overflow error converting expression to data type money."},
    {"money", "0.00005", "0.0001"},
    {"money", "1234.56789", "1234.5679"},
    {"smallmoney", "-214748.3648", "-214748.3648"},
    {"smallmoney", "-214748.3649", OVERFLOW "Arithmetic overflow error converting expression to data type smallmoney."},
    {"varchar(40)", "12345678901234.1234567891", "'12345678901234.1234567891'"},
};

#undef CONVERSION
#undef OVERFLOW

std::string outcomeOf(const AutomationError& e) {
  char number[16];
  std::snprintf(number, sizeof number, "%08X", static_cast<unsigned>(e.number));
  return std::string(number) + ": " + e.description;
}

// As quote() gives it; a decimal or money value as the recordset's Decimal or Currency gives its text,
// since the file keeps those with more than 15 digits as a byte string of the digits.
std::string storedValue(SqlFixture& db, int key, const ValueCase& c) {
  const std::string declared = c.declared;
  if (declared.starts_with("decimal") || declared.starts_with("numeric") || declared.find("money") != std::string::npos) {
    auto rs = db.connection().GetAnyRecordSet("SELECT FValue FROM t_Values WHERE FKey = " + std::to_string(key));
    return rs->Eof() ? "no row" : rs->Value(0).isNull() ? "NULL" : CStr(rs->Value(0));
  }
  Variant k(key);
  sql::Rowset rows = db.connection().database().query("SELECT quote(FValue) FROM t_Values WHERE FKey = ?1", {&k, 1});
  return rows.rows.empty() ? "no row" : CStr(rows.rows[0][0]);
}

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.declared << " " << c.written; }

class ValueRules : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueRules, InsertAndUpdateStoreWhatSqlServerStores) {
  const ValueCase& c = GetParam();
  SqlFixture db;
  sql::Connection& cn = db.connection();
  cn.Execute(std::string("CREATE TABLE t_Values (FKey int NOT NULL, FValue ") + c.declared + " NULL)");
  const std::string value = c.written;
  // Twice: the second run binds the literals to the statements prepared in the first.
  for (int run = 0; run < 2; ++run) {
    cn.Execute("DELETE FROM t_Values");
    cn.Execute("INSERT INTO t_Values (FKey) VALUES (2)");
    for (const std::string& statement : {"INSERT INTO t_Values (FKey, FValue) VALUES (1, " + value + ")",
                                         "UPDATE t_Values SET FValue = " + value + " WHERE FKey = 2"}) {
      int key = statement.starts_with("INSERT") ? 1 : 2;
      std::string outcome;
      try {
        cn.Execute(statement);
        outcome = storedValue(db, key, c);
      } catch (const AutomationError& e) {
        EXPECT_EQ(e.source, sql::kProviderSource);
        outcome = outcomeOf(e);
        EXPECT_EQ(storedValue(db, key, c), key == 1 ? "no row" : "NULL") << statement;
      }
      EXPECT_EQ(outcome, c.expected) << statement;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ValueRules, ::testing::ValuesIn(kValueCases));
INSTANTIATE_TEST_SUITE_P(Exact, ValueRules, ::testing::ValuesIn(kExactCases));

// A value is kept in one form whatever scale its column gives it: the decimals a column pads with are
// no digits of the value, so 126778.5 in a decimal(28,10) is a REAL as it is in a decimal(18,1), and SQL
// compares it with the number.
TEST(ExactNumbers, AValueIsStoredInTheSmallestFormThatHoldsItsDigits) {
  const struct {
    const char* declared;
    const char* written;
    const char* storage;
  } cases[] = {
      {"decimal(28,10)", "126778.5", "real"},
      {"decimal(28,10)", "12345678.123456", "real"},
      {"decimal(28,10)", "1234567890.1234567", "blob"},
      {"decimal(28,10)", "1200", "integer"},
      {"decimal(18,1)", "126778.5", "real"},
      {"money", "123456789.5", "real"},
      {"money", "123456789012.3456", "blob"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.declared) + " " + c.written);
    SqlFixture db;
    sql::Connection& cn = db.connection();
    cn.Execute(std::string("CREATE TABLE t_Values (FKey int NOT NULL, FValue ") + c.declared + " NULL)");
    cn.Execute(std::string("INSERT INTO t_Values (FKey, FValue) VALUES (1, ") + c.written + ")");
    sql::Rowset rows = cn.database().query("SELECT typeof(FValue) FROM t_Values");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(CStr(rows.rows[0][0]), c.storage);
    auto rs = cn.GetAnyRecordSet("SELECT FValue FROM t_Values");
    EXPECT_EQ(CStr(rs->Value(0)), c.written);
  }
}

// One statement written with a number in plain notation and then with an exponent is two statements to
// SQL Server (numeric and float): the prepared statement of the one does not say what the other is.
TEST(ExactNumbers, AnOverflowNamesTheNotationOfTheLiteralItComesFrom) {
  SqlFixture db;
  sql::Connection& cn = db.connection();
  cn.Execute("CREATE TABLE t_Values (FKey int NOT NULL, FRate decimal(5,2) NULL)");
  for (const auto& [written, source] : {std::pair{"999.995", "numeric"}, {"9.99995e2", "float"}, {"1000.5", "numeric"},
                                        {"1.0005E3", "float"}}) {
    try {
      cn.Execute(std::string("INSERT INTO t_Values (FKey, FRate) VALUES (1, ") + written + ")");
      ADD_FAILURE() << written << " was stored";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.description, std::string("Arithmetic overflow error converting ") + source + " to data type numeric.")
          << written;
    }
  }
}

TEST(ExactNumbers, AValueTheColumnCannotHoldIsAnErrorNamingColumnAndRow) {
  SqlFixture db;
  sql::Connection& cn = db.connection();
  cn.Execute("CREATE TABLE t_Values (FKey int NOT NULL, FAmount money NULL, FRate decimal(5,2) NULL)");
  cn.Execute("INSERT INTO t_Values (FKey, FAmount, FRate) VALUES (7, 1, 1)");
  // As another program writes the file: SQLite keeps what it is given.
  for (const char* foreign : {"FAmount = 922337203685477.5808 * 10", "FRate = 1000", "FRate = 'abc'"}) {
    db.connection().database().execScript(std::string("UPDATE t_Values SET FAmount = 1, FRate = 1; UPDATE t_Values SET ") + foreign);
    try {
      cn.GetAnyRecordSet("SELECT FKey, FAmount, FRate FROM t_Values");
      ADD_FAILURE() << foreign << " was read as a number";
    } catch (const AutomationError& e) {
      EXPECT_EQ(static_cast<std::uint32_t>(e.number), 0x80040E57u);
      EXPECT_NE(e.description.find(" of the row where FKey = 7 "), std::string::npos) << e.description;
      EXPECT_NE(e.description.find(std::string(" column ") + foreign[0] + foreign[1]), std::string::npos) << e.description;
    }
  }
}

}  // namespace
}  // namespace quillane::testing
