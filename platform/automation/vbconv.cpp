#include "platform/automation/vbconv.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/automation/object.h"
#include "platform/automation/vbtext.h"

namespace quillane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The text without the blanks around it.
std::string_view withoutBlanks(std::string_view text) {
  std::size_t i = 0, n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  while (n > i && isBlank(text[n - 1])) --n;
  return text.substr(i, n - i);
}

// "&H" or "&O" digits (t starts with "&"), as VB reads them.
bool parseRadixText(std::string_view t, double& out) {
  const std::size_t n = t.size();
  char kind = n > 1 ? static_cast<char>(t[1] | 0x20) : '\0';
  int base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
  if (base == 0 || n == 2) return false;
  std::uint64_t value = 0;
  for (std::size_t k = 2; k < n; ++k) {
    char c = static_cast<char>(t[k] | 0x20);
    int digit = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
    if (digit >= base || value > 0xFFFFFFFFull) return false;
    value = value * base + digit;
  }
  // "&H" literals are 16 or 32-bit two's complement, as in VB.
  if (value <= 0xFFFF && n - 2 <= 4 && value >= 0x8000 && base == 16) out = static_cast<std::int16_t>(value);
  else if (value <= 0xFFFFFFFFull) out = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  else return false;
  return true;
}

// A sign, digits with one decimal point and an exponent (E or D), in the plain notation C and Decimal
// read ("e" for the exponent). False when t is anything else.
bool plainNumberText(std::string_view t, std::string& plain) {
  const std::size_t n = t.size();
  std::size_t k = 0;
  if (k < n && (t[k] == '+' || t[k] == '-')) plain += t[k++];
  bool digits = false, point = false;
  for (; k < n; ++k) {
    char c = t[k];
    if (c >= '0' && c <= '9') {
      digits = true;
      plain += c;
    } else if (c == '.' && !point) {
      point = true;
      plain += c;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (k < n && (t[k] == 'e' || t[k] == 'E' || t[k] == 'd' || t[k] == 'D')) {
    plain += 'e';
    ++k;
    if (k < n && (t[k] == '+' || t[k] == '-')) plain += t[k++];
    bool expDigits = false;
    for (; k < n && t[k] >= '0' && t[k] <= '9'; ++k) {
      plain += t[k];
      expDigits = true;
    }
    if (!expDigits) return false;
  }
  return k == n;
}

// A text as VB coerces it to a number: blanks around it, then the plain form above or "&H"/"&O"
// digits. False when the text is anything else.
bool parseNumberText(std::string_view text, double& out) {
  std::string_view t = withoutBlanks(text);
  if (t.empty()) return false;
  if (t[0] == '&' && t.size() > 1) return parseRadixText(t, out);
  std::string plain;
  if (!plainNumberText(t, plain)) return false;
  out = std::strtod(plain.c_str(), nullptr);
  return std::isfinite(out);
}

double currencyToDouble(Currency c) { return static_cast<double>(c.scaled) / 10000.0; }

// A text as CDec reads it: what VB reads as a number, every digit kept (the exponent may be "D").
Decimal decimalOfText(std::string_view text) {
  std::string_view t = withoutBlanks(text);
  if (!t.empty() && t[0] == '&') {
    double d = 0;
    if (!parseRadixText(t, d)) throw vbError(VbError::TypeMismatch);
    return Decimal(static_cast<std::int64_t>(d));
  }
  std::string plain;
  Decimal out;
  if (plainNumberText(t, plain)) {
    switch (Decimal::FromText(plain, true, Decimal::kMaxDigits, out)) {
      case Decimal::Parsed::Ok: return out;
      case Decimal::Parsed::Overflow: throw vbError(VbError::Overflow);
      case Decimal::Parsed::NotANumber: break;
    }
  }
  throw vbError(VbError::TypeMismatch);
}

// The value as a double for the integer and floating conversions; Null raises 94, no number raises 13.
double numericValue(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: throw vbError(VbError::InvalidUseOfNull);
    case VarType::Boolean: return v.as<bool>() ? -1 : 0;
    case VarType::Integer: return v.as<std::int16_t>();
    case VarType::Long: return v.as<std::int32_t>();
    case VarType::Double: return v.as<double>();
    case VarType::Currency: return currencyToDouble(v.as<Currency>());
    case VarType::Decimal: return v.as<Decimal>().toDouble();
    case VarType::Date: return v.as<Date>().serial;
    case VarType::String: {
      double d = 0;
      if (!parseNumberText(v.as<std::string>(), d)) throw vbError(VbError::TypeMismatch);
      return d;
    }
    case VarType::Object:
    case VarType::Bytes: break;
  }
  throw vbError(VbError::TypeMismatch);
}

template <class Int>
Int checkedInteger(std::optional<std::int64_t> i) {
  if (!i || *i < std::numeric_limits<Int>::min() || *i > std::numeric_limits<Int>::max()) throw vbError(VbError::Overflow);
  return static_cast<Int>(*i);
}

template <class Int>
Int roundToInteger(double d) {
  if (std::isnan(d)) throw vbError(VbError::Overflow);
  double r = std::nearbyint(d);  // the default rounding mode rounds half to even
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max()))
    throw vbError(VbError::Overflow);
  return static_cast<Int>(r);
}

template <class Int>
Int roundedInteger(const Variant& v) {
  if (const Decimal* d = v.tryAs<Decimal>()) return checkedInteger<Int>(d->toInteger(Rounding::HalfEven));
  if (const Currency* c = v.tryAs<Currency>())
    return checkedInteger<Int>(Decimal::FromScaled(c->scaled, 4).toInteger(Rounding::HalfEven));
  return roundToInteger<Int>(numericValue(v));
}

std::string formatDouble(double d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", d);
  std::string s = buf;
  // VB writes exponents with at least two digits and no leading zeros beyond that: "1E+20", "1.5E-05".
  auto e = s.find('E');
  if (e != std::string::npos) {
    std::string mantissa = s.substr(0, e), sign = s.substr(e + 1, 1), digits = s.substr(e + 2);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    s = mantissa + "E" + sign + digits;
  }
  if (s == "-0") s = "0";
  return s;
}

std::string formatCurrency(Currency c) {
  std::int64_t whole = c.scaled / 10000, frac = c.scaled % 10000;
  std::string s = (c.scaled < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
  if (frac != 0) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(frac < 0 ? -frac : frac));
    std::string f = buf;
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return s;
}

const std::int64_t kDaysTo1899_12_30 = DaysFromCivil(1899, 12, 30);

}  // namespace

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

Date MakeDate(int year, int month, int day, int hour, int minute, int second) {
  double days = static_cast<double>(DaysFromCivil(year, month, day) - kDaysTo1899_12_30);
  double frac = (hour * 3600 + minute * 60 + second) / 86400.0;
  // Before the epoch the fraction still counts forward from midnight, so it is subtracted.
  return Date{days < 0 ? days - frac : days + frac};
}

std::string FormatDate(Date d, char timeSeparator) {
  double days = std::trunc(d.serial);
  long long seconds = std::llround(std::fabs(d.serial - days) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += d.serial < 0 ? -1 : 1;
  }
  int y, m, day;
  CivilFromDays(static_cast<std::int64_t>(days) + kDaysTo1899_12_30, y, m, day);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, day);
  std::string s = buf;
  if (seconds != 0) {
    std::snprintf(buf, sizeof buf, "%c%02lld:%02lld:%02lld", timeSeparator, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    s += buf;
  }
  return s;
}

bool ParseDate(std::string_view text, Date& out) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  std::string t(Trim(text));
  char sep = 0;
  int consumed = 0;
  int fields = std::sscanf(t.c_str(), "%4d-%2d-%2d%n%c%2d:%2d:%2d%n", &y, &m, &d, &consumed, &sep, &hh, &mm, &ss,
                           &consumed);
  if (fields == 3 && static_cast<std::size_t>(consumed) == t.size()) {
    hh = mm = ss = 0;
  } else if (fields == 7 && (sep == ' ' || sep == 'T') && static_cast<std::size_t>(consumed) == t.size()) {
  } else {
    return false;
  }
  if (m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59) return false;
  int ry, rm, rd;
  CivilFromDays(DaysFromCivil(y, m, d), ry, rm, rd);
  if (ry != y || rm != m || rd != d) return false;  // 2023-02-30 and the like
  out = MakeDate(y, m, d, hh, mm, ss);
  return true;
}

std::string CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return {};
    case VarType::Null: throw vbError(VbError::InvalidUseOfNull);
    case VarType::Boolean: return v.as<bool>() ? "True" : "False";
    case VarType::Integer: return std::to_string(v.as<std::int16_t>());
    case VarType::Long: return std::to_string(v.as<std::int32_t>());
    case VarType::Double: return formatDouble(v.as<double>());
    case VarType::Currency: return formatCurrency(v.as<Currency>());
    case VarType::Decimal: return v.as<Decimal>().text();
    case VarType::Date: return FormatDate(v.as<Date>());
    case VarType::String: return v.as<std::string>();
    case VarType::Bytes: return Utf16LeToUtf8(v.as<Bytes>());
    case VarType::Object: break;
  }
  throw vbError(VbError::TypeMismatch);
}

std::int32_t CLng(const Variant& v) {
  if (v.type() == VarType::Long) return v.as<std::int32_t>();
  return roundedInteger<std::int32_t>(v);
}

std::int16_t CInt(const Variant& v) {
  if (v.type() == VarType::Integer) return v.as<std::int16_t>();
  return roundedInteger<std::int16_t>(v);
}

bool CBool(const Variant& v) {
  if (v.type() == VarType::String) {
    const std::string& s = v.as<std::string>();
    std::string t(Trim(s));
    if (SameText(t, "True")) return true;
    if (SameText(t, "False")) return false;
  }
  if (const Decimal* d = v.tryAs<Decimal>()) return !d->isZero();
  return numericValue(v) != 0;
}

double CDbl(const Variant& v) { return numericValue(v); }

Currency CCur(const Variant& v) {
  if (v.type() == VarType::Currency) return v.as<Currency>();
  if (v.type() == VarType::Decimal || v.type() == VarType::String) {
    std::optional<std::int64_t> scaled = CDec(v).scaledInteger(4, Rounding::HalfEven);
    if (!scaled) throw vbError(VbError::Overflow);
    return Currency{*scaled};
  }
  double scaled = numericValue(v) * 10000.0;
  if (!(std::fabs(scaled) < 9.2e18)) throw vbError(VbError::Overflow);
  return Currency{static_cast<std::int64_t>(std::nearbyint(scaled))};
}

Decimal CDec(const Variant& v) {
  switch (v.type()) {
    case VarType::Decimal: return v.as<Decimal>();
    case VarType::Currency: return Decimal::FromScaled(v.as<Currency>().scaled, 4);
    case VarType::String: return decimalOfText(v.as<std::string>());
    case VarType::Double:
    case VarType::Date: {
      std::optional<Decimal> d = Decimal::FromDouble(numericValue(v), 15);
      if (!d) throw vbError(VbError::Overflow);
      return *d;
    }
    default: return Decimal(static_cast<std::int64_t>(numericValue(v)));
  }
}

double Val(std::string_view text) {
  // Val reads past blanks, tabs and line feeds anywhere in the number and stops at the first other
  // character that cannot continue it.
  std::string compact;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') compact += c;
  std::size_t end = 0;
  if (compact.size() > 1 && compact[0] == '&') {
    end = 2;
    while (end < compact.size() && std::isxdigit(static_cast<unsigned char>(compact[end]))) ++end;
  } else {
    if (end < compact.size() && (compact[end] == '+' || compact[end] == '-')) ++end;
    bool point = false;
    while (end < compact.size() &&
           (std::isdigit(static_cast<unsigned char>(compact[end])) || (compact[end] == '.' && !point))) {
      if (compact[end] == '.') point = true;
      ++end;
    }
    std::size_t mantissaEnd = end;
    if (end < compact.size() && std::string_view("eEdD").find(compact[end]) != std::string_view::npos) {
      std::size_t e = end + 1;
      if (e < compact.size() && (compact[e] == '+' || compact[e] == '-')) ++e;
      std::size_t digitsStart = e;
      while (e < compact.size() && std::isdigit(static_cast<unsigned char>(compact[e]))) ++e;
      end = e > digitsStart ? e : mantissaEnd;
    }
  }
  double d = 0;
  return parseNumberText(compact.substr(0, end), d) ? d : 0;
}

bool IsNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Decimal: return true;
    case VarType::String: {
      double d = 0;
      return parseNumberText(v.as<std::string>(), d);
    }
    default: return false;
  }
}

}  // namespace quillane
