#include "platform/sql/stored_values.h"

#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/automation/decimal.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/column_types.h"
#include "platform/sql/exact_columns.h"

namespace quillane::sql {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// SQL Server reads a number or date out of a text with blanks around it.
std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Digits from position i on; the index after them.
std::size_t skipDigits(std::string_view s, std::size_t i) {
  while (i < s.size() && isDigit(s[i])) ++i;
  return i;
}

using Parsed = Decimal::Parsed;

// "[+|-]digits", the way SQL Server reads an integer from a text.
Parsed parseInteger(std::string_view s, std::int64_t& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size() || skipDigits(s, i) != s.size()) return Parsed::NotANumber;
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
  for (; i < s.size(); ++i) {
    auto digit = static_cast<std::uint64_t>(s[i] - '0');
    if (magnitude > (limit - digit) / 10) return Parsed::Overflow;
    magnitude = magnitude * 10 + digit;
  }
  out = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return Parsed::Ok;
}

// "[+|-]digits[.digits][e[+|-]digits]" (at least one digit before the exponent), as SQL Server's float
// reads a text.
bool parseFloatText(std::string_view s, double& out) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t end = skipDigits(s, i);
  std::size_t digits = end - i;
  if (end < s.size() && s[end] == '.') {
    std::size_t fractionEnd = skipDigits(s, end + 1);
    digits += fractionEnd - end - 1;
    end = fractionEnd;
  }
  if (digits == 0) return false;
  if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
    std::size_t k = end + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (skipDigits(s, k) == k) return false;
    end = skipDigits(s, k);
  }
  if (end != s.size()) return false;
  out = std::strtod(std::string(s).c_str(), nullptr);
  return true;
}

std::string numberText(double d) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", d);
  double back = std::strtod(buffer, nullptr);
  if (back != d) std::snprintf(buffer, sizeof buffer, "%.17g", d);
  return buffer;
}

struct IntegerType {
  std::int64_t min, max;
  const char* name;
  const char* storageName;  // how SQL Server names the type in its text-overflow message
  int bytes;
};

IntegerType integerType(SqlType type) {
  switch (type) {
    case SqlType::TinyInt: return {0, 255, "tinyint", "INT1", 1};
    case SqlType::SmallInt: return {-32768, 32767, "smallint", "INT2", 2};
    case SqlType::Int: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), "int", "int", 4};
    default:
      return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), "bigint", "bigint", 8};
  }
}

// A point in time as the date types hold it: days from 1970-01-01 and milliseconds into the day.
struct Moment {
  std::int64_t days = 0;
  std::int64_t ms = 0;
};

const std::int64_t kDay1900 = DaysFromCivil(1900, 1, 1);
constexpr std::int64_t kMsPerDay = 86400000;

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

enum class DateParse { Ok, Malformed, OutOfRange };

// "H:MM[:SS[.fff]]" with an optional AM or PM.
DateParse parseTime(std::string_view s, std::int64_t& ms) {
  int part[3] = {0, 0, 0};
  int fraction = 0;
  std::size_t i = 0;
  for (int p = 0; p < 3; ++p) {
    if (p > 0) {
      if (i >= s.size() || s[i] != ':') {
        if (p == 1) return DateParse::Malformed;
        break;
      }
      ++i;
    }
    std::size_t end = skipDigits(s, i);
    if (end == i || end - i > 2) return DateParse::Malformed;
    part[p] = std::stoi(std::string(s.substr(i, end - i)));
    i = end;
  }
  if (i < s.size() && (s[i] == '.' || s[i] == ':') && i + 1 < s.size() && isDigit(s[i + 1])) {
    std::size_t end = skipDigits(s, i + 1);
    if (end - i - 1 > 3) return DateParse::Malformed;
    std::string digits(s.substr(i + 1, end - i - 1));
    digits.resize(3, '0');
    fraction = std::stoi(digits);
    i = end;
  }
  std::string_view rest = trimmed(s.substr(i));
  int hour = part[0];
  if (!rest.empty()) {
    bool pm = SameText(rest, "PM");
    if (!pm && !SameText(rest, "AM")) return DateParse::Malformed;
    if (hour < 1 || hour > 12) return DateParse::Malformed;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  if (hour > 23 || part[1] > 59 || part[2] > 59) return DateParse::Malformed;
  ms = ((hour * 60LL + part[1]) * 60 + part[2]) * 1000 + fraction;
  return DateParse::Ok;
}

// "YYYY-M-D", "YYYY/M/D", "YYYY.M.D" or "YYYYMMDD"; the index after the date, 0 when there is none.
std::size_t parseDay(std::string_view s, int& y, int& m, int& d) {
  std::size_t yearEnd = skipDigits(s, 0);
  if (yearEnd == 8 && (yearEnd == s.size() || !isDigit(s[yearEnd]))) {
    y = std::stoi(std::string(s.substr(0, 4)));
    m = std::stoi(std::string(s.substr(4, 2)));
    d = std::stoi(std::string(s.substr(6, 2)));
    return 8;
  }
  if (yearEnd != 4 || yearEnd >= s.size()) return 0;
  char separator = s[yearEnd];
  if (separator != '-' && separator != '/' && separator != '.') return 0;
  std::size_t monthEnd = skipDigits(s, yearEnd + 1);
  if (monthEnd == yearEnd + 1 || monthEnd - yearEnd - 1 > 2 || monthEnd >= s.size() || s[monthEnd] != separator)
    return 0;
  std::size_t dayEnd = skipDigits(s, monthEnd + 1);
  if (dayEnd == monthEnd + 1 || dayEnd - monthEnd - 1 > 2) return 0;
  y = std::stoi(std::string(s.substr(0, 4)));
  m = std::stoi(std::string(s.substr(yearEnd + 1, monthEnd - yearEnd - 1)));
  d = std::stoi(std::string(s.substr(monthEnd + 1, dayEnd - monthEnd - 1)));
  return dayEnd;
}

// A date text as SQL Server reads one: a date, a date and a time (after blanks or a "T"), or a time
// alone (on 1900-01-01). A well-formed date that the calendar has not is out of range.
DateParse parseMoment(std::string_view s, Moment& out) {
  int y = 1900, m = 1, d = 1;
  std::size_t i = parseDay(s, y, m, d);
  std::int64_t ms = 0;
  if (i == 0) {
    DateParse time = parseTime(s, ms);
    if (time != DateParse::Ok) return time;
  } else if (i < s.size()) {
    bool iso = s[i] == 'T';
    if (!iso && !isBlank(s[i])) return DateParse::Malformed;
    std::string_view rest = iso ? s.substr(i + 1) : trimmed(s.substr(i));
    if (rest.empty() || parseTime(rest, ms) != DateParse::Ok) return DateParse::Malformed;
  }
  if (m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return DateParse::OutOfRange;
  out = Moment{DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)), ms};
  return DateParse::Ok;
}

std::string momentText(const Moment& t) {
  int y, m, d;
  CivilFromDays(t.days, y, m, d);
  char buffer[40];
  int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
  if (t.ms != 0) {
    std::int64_t seconds = t.ms / 1000;
    n += std::snprintf(buffer + n, sizeof buffer - n, " %02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                       static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    if (t.ms % 1000 != 0) std::snprintf(buffer + n, sizeof buffer - n, ".%03lld", static_cast<long long>(t.ms % 1000));
  }
  return buffer;
}

// Milliseconds carried into the next day where rounding reaches midnight.
Moment normalized(Moment t) {
  t.days += t.ms / kMsPerDay;
  t.ms %= kMsPerDay;
  return t;
}

const char* sqlTypeName(const ColumnType& type) {
  switch (type.sqlType) {
    case SqlType::Bit: return "bit";
    case SqlType::Real: return "real";
    case SqlType::Float: return "float";
    case SqlType::Decimal: return "numeric";
    case SqlType::Money: return "money";
    case SqlType::SmallMoney: return "smallmoney";
    case SqlType::DateTime: return "datetime";
    case SqlType::SmallDateTime: return "smalldatetime";
    case SqlType::Date: return "date";
    case SqlType::Char: return "varchar";
    case SqlType::UniqueIdentifier: return "uniqueidentifier";
    case SqlType::Binary:
    case SqlType::VarBinary: return "varbinary";
    default: return integerType(type.sqlType).name;
  }
}

// One value on its way into a column: sets the function's result to what the column stores, or its
// error to SQL Server's refusal.
class Store {
 public:
  // literal: the digits of a number literal as the statement wrote them (without an exponent), as text or
  // as the number itself when a double keeps them; or nullptr.
  Store(sqlite3_context* ctx, const ColumnType& type, sqlite3_value* value, sqlite3_value* literal)
      : ctx_(ctx), type_(type), value_(value), storage_(sqlite3_value_type(value)) {
    if (!literal) return;
    // A literal a double keeps and SQLite reads as a real has a decimal point (an integer reads as one).
    pointLiteral_ = sqlite3_value_type(literal) == SQLITE_FLOAT;
    if (sqlite3_value_type(literal) != SQLITE_TEXT) return;
    literal_.assign(reinterpret_cast<const char*>(sqlite3_value_text(literal)),
                    static_cast<std::size_t>(sqlite3_value_bytes(literal)));
    // A literal bound as its text is still a number; a minus before a parameter stays outside it.
    if (storage_ == SQLITE_TEXT) storage_ = SQLITE_FLOAT;
    if (sqlite3_value_double(value) < 0 && !literal_.starts_with('-')) literal_.insert(0, 1, '-');
  }

  void run() {
    if (storage_ == SQLITE_NULL) return sqlite3_result_null(ctx_);
    switch (type_.sqlType) {
      case SqlType::Bit: return bit();
      case SqlType::TinyInt:
      case SqlType::SmallInt:
      case SqlType::Int:
      case SqlType::BigInt: return integer();
      case SqlType::Real:
      case SqlType::Float: return approximate();
      case SqlType::Decimal: return decimal();
      case SqlType::Money:
      case SqlType::SmallMoney: return money();
      case SqlType::DateTime:
      case SqlType::SmallDateTime:
      case SqlType::Date: return dateTime();
      case SqlType::Char: return text();
      case SqlType::UniqueIdentifier: return guid();
      case SqlType::Binary:
      case SqlType::VarBinary: return binary();
      case SqlType::RowVersion:
      case SqlType::Unknown: break;
    }
    sqlite3_result_value(ctx_, value_);
  }

 private:
  std::string_view valueText() const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value_));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value_))) : std::string_view();
  }
  // The value as SQL Server quotes it in a message; a long text is cut, as SQL Server cuts its messages.
  std::string quotedValue() const { return "'" + Left(valueText(), 128) + "'"; }
  // The source type's name in SQL Server's messages: a literal with a point and no exponent is numeric.
  const char* sourceName() const {
    if (pointLiteral_ || (literal_.find('.') != std::string::npos && literal_.find_first_of("eE") == std::string::npos))
      return "numeric";
    switch (storage_) {
      case SQLITE_INTEGER: return "int";
      case SQLITE_FLOAT: return "float";
      case SQLITE_BLOB: return "varbinary";
      default: return "varchar";
    }
  }

  void fail(int code, const std::string& message) {
    sqlite3_result_error(ctx_, message.c_str(), static_cast<int>(message.size()));
    sqlite3_result_error_code(ctx_, code);
  }
  void conversionFailed() {
    fail(SQLITE_MISMATCH, "Conversion failed when converting the varchar value " + quotedValue() + " to data type " +
                              sqlTypeName(type_) + ".");
  }
  void errorConverting() {
    fail(SQLITE_MISMATCH, std::string("Error converting data type varchar to ") + sqlTypeName(type_) + ".");
  }
  void overflow() {
    fail(SQLITE_TOOBIG, std::string("Arithmetic overflow error converting ") +
                            (type_.sqlType == SqlType::Decimal ? sourceName() : "expression") + " to data type " +
                            sqlTypeName(type_) + ".");
  }
  void notImplicit() {
    fail(SQLITE_MISMATCH, std::string("Implicit conversion from data type ") + sourceName() + " to " +
                              sqlTypeName(type_) + " is not allowed. Use the CONVERT function to run this query.");
  }
  void truncated() { fail(SQLITE_TOOBIG, "String or binary data would be truncated."); }

  void bit() {
    switch (storage_) {
      case SQLITE_INTEGER: return sqlite3_result_int(ctx_, sqlite3_value_int64(value_) != 0);
      case SQLITE_FLOAT: return sqlite3_result_int(ctx_, sqlite3_value_double(value_) != 0);
      case SQLITE_BLOB: {
        const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_value_blob(value_));
        bool any = false;
        for (int k = 0; k < sqlite3_value_bytes(value_); ++k) any = any || bytes[k] != 0;
        return sqlite3_result_int(ctx_, any);
      }
      default: break;
    }
    std::string_view s = trimmed(valueText());
    std::int64_t i = 0;
    if (s.empty() || SameText(s, "FALSE")) return sqlite3_result_int(ctx_, 0);
    if (SameText(s, "TRUE")) return sqlite3_result_int(ctx_, 1);
    Parsed parsed = parseInteger(s, i);
    if (parsed == Parsed::NotANumber) return conversionFailed();
    sqlite3_result_int(ctx_, parsed == Parsed::Overflow || i != 0);
  }

  void integer() {
    const IntegerType range = integerType(type_.sqlType);
    std::int64_t i = 0;
    switch (storage_) {
      case SQLITE_INTEGER:
        i = sqlite3_value_int64(value_);
        if (i >= range.min && i <= range.max) return sqlite3_result_int64(ctx_, i);
        if (range.bytes <= 2)
          return fail(SQLITE_TOOBIG, std::string("Arithmetic overflow error for data type ") + range.name +
                                         ", value = " + std::to_string(i) + ".");
        return overflow();
      case SQLITE_FLOAT: {
        double d = std::trunc(sqlite3_value_double(value_));
        // Compared as doubles: the int64 bounds are not exact doubles, so the top one is left out.
        if (d < static_cast<double>(range.min) || d >= static_cast<double>(range.max) + 1.0) return overflow();
        return sqlite3_result_int64(ctx_, static_cast<std::int64_t>(d));
      }
      case SQLITE_BLOB: {
        // A byte string converts by its last bytes, most significant first, as SQL Server cuts it.
        const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_value_blob(value_));
        int n = sqlite3_value_bytes(value_);
        std::uint64_t v = 0;
        for (int k = std::max(0, n - range.bytes); k < n; ++k) v = (v << 8) | bytes[k];
        if (range.bytes == 2) i = static_cast<std::int16_t>(v);
        else if (range.bytes == 4) i = static_cast<std::int32_t>(v);
        else i = static_cast<std::int64_t>(v);
        return sqlite3_result_int64(ctx_, i);
      }
      default: break;
    }
    std::string_view s = trimmed(valueText());
    if (s.empty()) return sqlite3_result_int(ctx_, 0);
    Parsed parsed = parseInteger(s, i);
    if (parsed == Parsed::NotANumber) return conversionFailed();
    if (parsed == Parsed::Overflow || i < range.min || i > range.max) {
      if (range.bytes == 8) return overflow();
      std::string message = "The conversion of the varchar value " + quotedValue() + " overflowed an " +
                            range.storageName + " column.";
      return fail(SQLITE_TOOBIG, range.bytes <= 2 ? message + " Use a larger integer column." : message);
    }
    sqlite3_result_int64(ctx_, i);
  }

  // The value as a number for the approximate numeric types (an empty text is 0); nothing when the
  // result is set.
  std::optional<double> number() {
    switch (storage_) {
      case SQLITE_INTEGER:
      case SQLITE_FLOAT: return sqlite3_value_double(value_);
      case SQLITE_BLOB: notImplicit(); return std::nullopt;
      default: break;
    }
    std::string_view s = trimmed(valueText());
    double d = 0;
    if (s.empty()) return 0.0;
    if (!parseFloatText(s, d)) {
      errorConverting();
      return std::nullopt;
    }
    return d;
  }

  void approximate() {
    std::optional<double> d = number();
    if (!d) return;
    if (std::isinf(*d) || (type_.sqlType == SqlType::Real && std::fabs(*d) > FLT_MAX)) return overflow();
    sqlite3_result_double(ctx_, type_.sqlType == SqlType::Real ? static_cast<double>(static_cast<float>(*d)) : *d);
  }

  // The value as an exact number rounded half away from zero to scale decimals, as SQL Server converts
  // to decimal and money; nothing when the result is set. A double with no literal behind it (an
  // expression's result) counts by its shortest decimal text, so that 2.345 is 2.345.
  std::optional<Decimal> exactNumber(int scale, bool emptyIsZero, bool exponentAllowed) {
    Decimal d;
    Parsed parsed = Parsed::Ok;
    switch (storage_) {
      case SQLITE_INTEGER: d = Decimal(sqlite3_value_int64(value_)); break;
      case SQLITE_FLOAT:
        if (!literal_.empty()) {
          parsed = Decimal::FromText(literal_, true, scale, d);
        } else if (std::optional<Decimal> exact = Decimal::FromDouble(sqlite3_value_double(value_))) {
          d = *exact;
        } else {
          parsed = Parsed::Overflow;
        }
        break;
      case SQLITE_BLOB: notImplicit(); return std::nullopt;
      default: {
        std::string_view s = trimmed(valueText());
        if (!s.empty() || !emptyIsZero) parsed = Decimal::FromText(s, exponentAllowed, scale, d);
        if (parsed == Parsed::NotANumber) {
          errorConverting();
          return std::nullopt;
        }
      }
    }
    std::optional<Decimal> rounded = parsed == Parsed::Ok ? d.rescaled(scale) : std::nullopt;
    if (!rounded) overflow();
    return rounded;
  }

  // Decimal and money columns keep every digit: SQLite's REAL holds 15 significant digits only, and a
  // column declared decimal or money has NUMERIC affinity, which turns any text that reads as a
  // number into a REAL. So a value is stored as an INTEGER when it is whole and fits one, as a REAL
  // when it has at most 15 significant digits, whatever zeros the column's scale adds (the REAL then gives them back exactly), and otherwise
  // as a BLOB of its plain-notation text ("12345678901234.1234567891"), which affinity leaves alone.
  // Other SQLite tools read all three as the number (CAST(x AS TEXT) gives the digits of the last).
  void storeExact(const Decimal& d) {
    std::optional<std::int64_t> whole = d.toInteger(Rounding::HalfAwayFromZero);
    if (whole && Decimal(*whole) == d) return sqlite3_result_int64(ctx_, *whole);
    const std::string text = d.text();
    if (d.significantDigits() <= 15) return sqlite3_result_double(ctx_, std::strtod(text.c_str(), nullptr));
    sqlite3_result_blob(ctx_, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }

  void decimal() {
    std::optional<Decimal> d = exactNumber(type_.scale, false, false);
    if (!d) return;
    if (d->digits() > type_.length) return overflow();
    storeExact(*d);
  }

  void money() {
    std::optional<Decimal> d = storage_ == SQLITE_TEXT ? moneyText() : exactNumber(4, true, true);
    if (!d) return;
    if (!MoneyOf(*d, type_.sqlType)) return overflow();
    storeExact(*d);
  }

  // A money text: a sign, a currency symbol and thousands separators may stand in it.
  std::optional<Decimal> moneyText() {
    std::string_view s = trimmed(valueText());
    if (s.empty()) return Decimal();
    std::string plain;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') plain += s[i++];
    for (std::string_view symbol : {"$", "¥", "￥", "€", "£"})
      if (s.substr(i).starts_with(symbol)) {
        i += symbol.size();
        break;
      }
    if (plain.empty() && i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    for (; i < s.size(); ++i) {
      if (s[i] == ',' && !plain.empty() && isDigit(plain.back()) && i + 1 < s.size() && isDigit(s[i + 1])) continue;
      plain += s[i];
    }
    Decimal d;
    switch (Decimal::FromText(plain, false, 4, d)) {
      case Parsed::Ok: return d;
      case Parsed::Overflow: overflow(); return std::nullopt;
      case Parsed::NotANumber: break;
    }
    fail(SQLITE_MISMATCH, "Cannot convert a char value to money. The char value has incorrect syntax.");
    return std::nullopt;
  }

  void dateTime() {
    Moment t;
    if (storage_ == SQLITE_INTEGER || storage_ == SQLITE_FLOAT) {
      if (type_.sqlType == SqlType::Date)
        return fail(SQLITE_MISMATCH, std::string("Operand type clash: ") + sourceName() + " is incompatible with date");
      double days = sqlite3_value_double(value_);
      if (std::fabs(days) > 3e6) return overflow();
      double whole = std::floor(days);
      t = Moment{kDay1900 + static_cast<std::int64_t>(whole), std::llround((days - whole) * kMsPerDay)};
    } else if (storage_ == SQLITE_BLOB) {
      return notImplicit();
    } else {
      std::string_view s = trimmed(valueText());
      if (s.empty()) {
        t = Moment{kDay1900, 0};
      } else {
        DateParse parsed = parseMoment(s, t);
        if (parsed == DateParse::Malformed)
          return fail(SQLITE_MISMATCH, type_.sqlType == SqlType::SmallDateTime
                                           ? "Conversion failed when converting character string to smalldatetime data type."
                                           : "Conversion failed when converting date and/or time from character string.");
        if (parsed == DateParse::OutOfRange) return outOfRange();
      }
    }
    if (type_.sqlType == SqlType::Date) {
      t.ms = 0;
    } else if (type_.sqlType == SqlType::SmallDateTime) {
      t.ms = (t.ms + 30001) / 60000 * 60000;  // from 29.999 seconds on, up to the next minute
    } else {
      t.ms = std::llround(std::llround(t.ms * 0.3) / 0.3);  // ticks of 1/300 s
    }
    t = normalized(t);
    std::int64_t first = type_.sqlType == SqlType::DateTime    ? DaysFromCivil(1753, 1, 1)
                         : type_.sqlType == SqlType::Date      ? DaysFromCivil(1, 1, 1)
                                                               : kDay1900;
    std::int64_t last = type_.sqlType == SqlType::SmallDateTime ? DaysFromCivil(2079, 6, 6) : DaysFromCivil(9999, 12, 31);
    if (t.days < first || t.days > last) return storage_ == SQLITE_TEXT ? outOfRange() : overflow();
    std::string text = momentText(t);
    sqlite3_result_text(ctx_, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }

  void outOfRange() {
    fail(SQLITE_TOOBIG, std::string("The conversion of a varchar data type to a ") + sqlTypeName(type_) +
                            " data type resulted in an out-of-range value.");
  }

  void text() {
    std::string converted;
    std::string_view s;
    if (storage_ == SQLITE_INTEGER) {
      converted = std::to_string(sqlite3_value_int64(value_));
      s = converted;
    } else if (storage_ == SQLITE_FLOAT) {
      converted = literal_.empty() ? numberText(sqlite3_value_double(value_)) : literal_;
      s = converted;
    } else {
      s = valueText();
    }
    if (type_.length != kNoLimit && Len(s) > static_cast<std::size_t>(type_.length)) return truncated();
    if (storage_ == SQLITE_TEXT) return sqlite3_result_value(ctx_, value_);
    sqlite3_result_text(ctx_, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }

  void guid() {
    if (storage_ != SQLITE_TEXT)
      return fail(SQLITE_MISMATCH,
                  std::string("Operand type clash: ") + sourceName() + " is incompatible with uniqueidentifier");
    std::string_view s = valueText();
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    std::string upper;
    for (std::size_t k = 0; k < s.size(); ++k) {
      char c = s[k];
      bool dash = k == 8 || k == 13 || k == 18 || k == 23;
      bool hex = isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      if (dash ? c != '-' : !hex) break;
      upper += c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (s.size() != 36 || upper.size() != 36)
      return fail(SQLITE_MISMATCH, "Conversion failed when converting from a character string to uniqueidentifier.");
    sqlite3_result_text(ctx_, upper.data(), 36, SQLITE_TRANSIENT);
  }

  void binary() {
    std::basic_string<std::uint8_t> bytes;
    if (storage_ == SQLITE_BLOB) {
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_value_blob(value_));
      if (data) bytes.assign(data, static_cast<std::size_t>(sqlite3_value_bytes(value_)));
    } else if (storage_ == SQLITE_INTEGER) {
      std::int64_t i = sqlite3_value_int64(value_);
      int width = i >= std::numeric_limits<std::int32_t>::min() && i <= std::numeric_limits<std::int32_t>::max() ? 4 : 8;
      for (int k = width - 1; k >= 0; --k) bytes += static_cast<std::uint8_t>(static_cast<std::uint64_t>(i) >> (8 * k));
    } else {
      return notImplicit();
    }
    if (type_.length != kNoLimit && bytes.size() > static_cast<std::size_t>(type_.length)) return truncated();
    if (type_.sqlType == SqlType::Binary) bytes.resize(static_cast<std::size_t>(type_.length), 0);
    // A zero-length blob, not NULL, for an empty byte string.
    if (bytes.empty()) return sqlite3_result_zeroblob(ctx_, 0);
    sqlite3_result_blob(ctx_, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }

  sqlite3_context* ctx_;
  const ColumnType& type_;
  sqlite3_value* value_;
  int storage_;
  std::string literal_;
  bool pointLiteral_ = false;
};

}  // namespace

namespace {

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The type of a declared type text, parsed once per text: a statement stores a value in one row per
// run, mostly, so SQLite's auxiliary data, dropped at the end of each run, would keep it for no call.
// The texts are those of the database's columns: a few dozen.
const ColumnType& typeOf(std::string_view declared) {
  thread_local std::unordered_map<std::string, ColumnType, TextHash, std::equal_to<>> types;
  auto known = types.find(declared);
  if (known == types.end()) known = types.emplace(std::string(declared), ColumnTypeOf(declared)).first;
  return known->second;
}

}  // namespace

void StoreFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  const auto* declared = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const std::string_view text = declared ? std::string_view(declared, static_cast<std::size_t>(sqlite3_value_bytes(argv[0])))
                                         : std::string_view();
  Store(ctx, typeOf(text), argv[1], argc > 2 ? argv[2] : nullptr).run();
}

}  // namespace quillane::sql
