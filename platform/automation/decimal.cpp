#include "platform/automation/decimal.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace quillane {
namespace {

DecimalMagnitude pow10(int n) {
  DecimalMagnitude p = 1;
  for (int k = 0; k < n; ++k) p *= 10;
  return p;
}

const DecimalMagnitude kLimit = pow10(Decimal::kMaxDigits);  // the first magnitude that does not fit

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether dropping digits whose first is `first` and whose rest is not all zero (`rest`) takes the
// kept value one up, the last kept digit being odd or not.
bool roundsUp(int first, bool rest, bool lastOdd, Rounding rounding) {
  if (first != 5) return first > 5;
  if (rounding == Rounding::HalfAwayFromZero) return true;
  return rest || lastOdd;
}

}  // namespace

Decimal::Decimal(std::int64_t whole) {
  negative_ = whole < 0;
  __extension__ __int128 wide = whole;
  magnitude_ = static_cast<DecimalMagnitude>(negative_ ? -wide : wide);
}

Decimal::Parsed Decimal::FromText(std::string_view s, bool exponentAllowed, int maxScale, Decimal& out,
                                  Rounding rounding) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string digits;
  long long fraction = 0;
  bool any = false;
  for (; i < s.size() && isDigit(s[i]); ++i, any = true)
    if (!digits.empty() || s[i] != '0') digits += s[i];
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && isDigit(s[i]); ++i, any = true) {
      if (!digits.empty() || s[i] != '0') digits += s[i];
      ++fraction;
    }
  }
  if (!any) return Parsed::NotANumber;
  if (exponentAllowed && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool minus = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) minus = s[i++] == '-';
    if (i == s.size() || !isDigit(s[i])) return Parsed::NotANumber;
    long long exponent = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) exponent = std::min(exponent * 10 + (s[i] - '0'), 1000000LL);
    fraction += minus ? exponent : -exponent;
  }
  if (i != s.size()) return Parsed::NotANumber;

  out = Decimal();
  if (digits.empty()) return Parsed::Ok;
  const long long whole = static_cast<long long>(digits.size()) - fraction;  // negative below 0.1
  if (whole > kMaxDigits) return Parsed::Overflow;
  if (fraction < 0) {
    digits.append(static_cast<std::size_t>(-fraction), '0');
    fraction = 0;
  }
  const long long length = static_cast<long long>(digits.size());
  const long long keep = std::min<long long>({fraction, std::max(maxScale, 0), kMaxDigits - std::max(whole, 0LL)});
  // The digits kept; below zero when even the first digit lies beyond the place of the first one cut.
  const long long kept = length - (fraction - keep);
  DecimalMagnitude magnitude = 0;
  for (long long k = 0; k < kept; ++k) magnitude = magnitude * 10 + static_cast<unsigned>(digits[k] - '0');
  if (kept < length) {
    int first = kept >= 0 ? digits[static_cast<std::size_t>(kept)] - '0' : 0;
    bool rest = kept < 0;
    for (long long k = std::max(kept + 1, 0LL); k < length; ++k) rest = rest || digits[static_cast<std::size_t>(k)] != '0';
    if (roundsUp(first, rest, magnitude % 2 == 1, rounding)) ++magnitude;
  }
  if (magnitude >= kLimit) return Parsed::Overflow;
  out.magnitude_ = magnitude;
  out.scale_ = static_cast<std::uint8_t>(keep);
  out.negative_ = negative && magnitude != 0;
  return Parsed::Ok;
}

std::optional<Decimal> Decimal::FromDouble(double d, int significant) {
  if (!std::isfinite(d)) return std::nullopt;
  char buffer[48];
  for (int precision = significant == 17 ? 15 : significant; precision <= significant; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, d);
    if (precision == significant || std::strtod(buffer, nullptr) == d) break;
  }
  Decimal out;
  if (FromText(buffer, true, kMaxDigits, out) != Parsed::Ok) return std::nullopt;
  return out;
}

int Decimal::digits() const {
  int n = 0;
  for (DecimalMagnitude m = magnitude_; m != 0; m /= 10) ++n;
  return n;
}

int Decimal::significantDigits() const {
  int n = digits(), scale = scale_;
  for (DecimalMagnitude m = magnitude_; m != 0 && scale > 0 && m % 10 == 0; m /= 10, --scale) --n;
  return n;
}

std::optional<Decimal> Decimal::rescaled(int scale, Rounding rounding) const {
  Decimal out = *this;
  if (scale >= scale_) {
    DecimalMagnitude factor = pow10(scale - scale_);
    if (scale > kMaxDigits || (magnitude_ != 0 && magnitude_ > (kLimit - 1) / factor)) return std::nullopt;
    out.magnitude_ = magnitude_ * factor;
  } else {
    DecimalMagnitude divisor = pow10(scale_ - scale);
    DecimalMagnitude remainder = magnitude_ % divisor, half = divisor / 2;
    out.magnitude_ = magnitude_ / divisor;
    bool up = remainder > half || (remainder == half &&
                                   (rounding == Rounding::HalfAwayFromZero || out.magnitude_ % 2 == 1));
    if (up) ++out.magnitude_;
    if (out.magnitude_ >= kLimit) return std::nullopt;
  }
  out.scale_ = static_cast<std::uint8_t>(scale);
  out.negative_ = negative_ && out.magnitude_ != 0;
  return out;
}

std::optional<std::int64_t> Decimal::scaledInteger(int scale, Rounding rounding) const {
  std::optional<Decimal> at = rescaled(scale, rounding);
  if (!at) return std::nullopt;
  const DecimalMagnitude top = static_cast<DecimalMagnitude>(std::numeric_limits<std::int64_t>::max());
  if (at->magnitude_ > top + (at->negative_ ? 1 : 0)) return std::nullopt;
  __extension__ __int128 wide = static_cast<__int128>(at->magnitude_);
  return static_cast<std::int64_t>(at->negative_ ? -wide : wide);
}

std::optional<std::int64_t> Decimal::toInteger(Rounding rounding) const { return scaledInteger(0, rounding); }

Decimal Decimal::FromScaled(std::int64_t scaled, int scale) {
  Decimal out(scaled);
  out.scale_ = static_cast<std::uint8_t>(scale);
  return out;
}

std::string Decimal::text() const {
  std::string digits;
  for (DecimalMagnitude m = magnitude_; m != 0; m /= 10) digits.insert(digits.begin(), static_cast<char>('0' + m % 10));
  if (digits.size() <= scale_) digits.insert(0, scale_ + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - scale_), fraction = digits.substr(digits.size() - scale_);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return (negative_ ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
}

double Decimal::toDouble() const { return std::strtod(text().c_str(), nullptr); }

int Compare(const Decimal& a, const Decimal& b) {
  if (a.negative_ != b.negative_) return a.negative_ ? -1 : 1;
  const int sign = a.negative_ ? -1 : 1;
  const int scale = std::max(a.scale_, b.scale_);
  // Whole parts first, then the decimals at the larger scale: neither step can leave 38 digits.
  DecimalMagnitude aWhole = a.magnitude_ / pow10(a.scale_), bWhole = b.magnitude_ / pow10(b.scale_);
  if (aWhole != bWhole) return aWhole < bWhole ? -sign : sign;
  DecimalMagnitude aPart = a.magnitude_ % pow10(a.scale_) * pow10(scale - a.scale_);
  DecimalMagnitude bPart = b.magnitude_ % pow10(b.scale_) * pow10(scale - b.scale_);
  if (aPart != bPart) return aPart < bPart ? -sign : sign;
  return 0;
}

}  // namespace quillane
