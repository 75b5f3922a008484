#include "platform/sql/exact_columns.h"

#include <sqlite3.h>

#include <limits>
#include <string_view>

namespace quillane::sql {
namespace {

std::optional<Decimal> storedNumber(sqlite3_stmt* stmt, int column, int scale) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return Decimal(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return Decimal::FromDouble(sqlite3_column_double(stmt, column), 15);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
      std::string_view text(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
      Decimal d;
      if (Decimal::FromText(text, true, scale, d) != Decimal::Parsed::Ok) return std::nullopt;
      return d;
    }
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<Variant> ExactColumnValue(sqlite3_stmt* stmt, int column, const ColumnType& type) {
  const bool money = type.kind == ValueKind::Currency;
  const int scale = money ? 4 : type.scale;
  std::optional<Decimal> d = storedNumber(stmt, column, scale);
  if (d) d = d->rescaled(scale);
  if (!d) return std::nullopt;
  if (!money) {
    if (d->digits() > type.length) return std::nullopt;
    return Variant(*d);
  }
  std::optional<Currency> c = MoneyOf(*d, type.sqlType);
  if (!c) return std::nullopt;
  return Variant(*c);
}

std::optional<Currency> MoneyOf(const Decimal& d, SqlType type) {
  std::optional<std::int64_t> scaled = d.scaledInteger(4, Rounding::HalfAwayFromZero);
  const bool small = type == SqlType::SmallMoney;
  const std::int64_t low = small ? -2147483648LL : std::numeric_limits<std::int64_t>::min();
  const std::int64_t high = small ? 2147483647LL : std::numeric_limits<std::int64_t>::max();
  if (!scaled || *scaled < low || *scaled > high) return std::nullopt;
  return Currency{*scaled};
}

}  // namespace quillane::sql
