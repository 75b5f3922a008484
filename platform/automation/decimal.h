// An exact decimal number, as SQL Server's decimal(p, s) keeps one and VB's Decimal carries it: at most
// 38 digits (VB holds 28, SQL Server 38), any number of them after the point. Nothing here goes
// through a double, so a value read from a document or a column comes back with every digit it had.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillane {

__extension__ typedef unsigned __int128 DecimalMagnitude;

enum class Rounding {
  HalfAwayFromZero,  // SQL Server's rounding to a column's scale
  HalfEven,          // VB's rounding in CLng, CInt and CCur
};

class Decimal {
 public:
  static constexpr int kMaxDigits = 38;

  enum class Parsed { Ok, NotANumber, Overflow };

  Decimal() = default;
  explicit Decimal(std::int64_t whole);

  // Reads "[+|-]digits[.digits]" (digits on at least one side of the point), with "E[+|-]digits" after
  // it when exponentAllowed; no blanks. Decimals beyond maxScale, and beyond the 38 digits in all, are
  // rounded away as `rounding` says; more than 38 digits before the point is an Overflow.
  static Parsed FromText(std::string_view text, bool exponentAllowed, int maxScale, Decimal& out,
                         Rounding rounding = Rounding::HalfAwayFromZero);
  // A double by its shortest text that reads back as the same double, at most 17 significant digits
  // (significant = 15 takes VB's view of a Double: 0.1 + 0.2 is 0.3). Nothing for an infinity, a NaN
  // or a magnitude of 10^38 and more.
  static std::optional<Decimal> FromDouble(double d, int significant = 17);

  bool negative() const { return negative_; }
  int scale() const { return scale_; }
  bool isZero() const { return magnitude_ == 0; }
  // The digits of the value as it is held, without the leading zeros; 0 for zero.
  int digits() const;
  // The digits of the value itself: those of digits() without the zeros that end its decimals.
  int significantDigits() const;
  // The digits before the point; 0 when the value is below 1 in magnitude.
  int integerDigits() const { return digits() > scale_ ? digits() - scale_ : 0; }

  // The same value with `scale` decimals, rounded when fewer; nothing when it would need more than 38
  // digits.
  std::optional<Decimal> rescaled(int scale, Rounding rounding = Rounding::HalfAwayFromZero) const;
  // The value rounded to a whole number; nothing when that lies outside the 64-bit integers.
  std::optional<std::int64_t> toInteger(Rounding rounding) const;
  // The value times 10^scale as a 64-bit integer when it is whole so and fits; Currency keeps value * 10^4.
  std::optional<std::int64_t> scaledInteger(int scale, Rounding rounding) const;
  static Decimal FromScaled(std::int64_t scaled, int scale);

  // Plain notation with every digit and no exponent, without zeros at the end of the decimals: "-0.000001",
  // "12345678901234.1234567891", "0". VB's CStr writes a Decimal so.
  std::string text() const;
  double toDouble() const;

  // Compares the values, whatever their scales: 1.50 equals 1.5.
  friend int Compare(const Decimal& a, const Decimal& b);
  bool operator==(const Decimal& other) const { return Compare(*this, other) == 0; }

 private:
  DecimalMagnitude magnitude_ = 0;
  std::uint8_t scale_ = 0;
  bool negative_ = false;
};

}  // namespace quillane
