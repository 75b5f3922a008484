#include "platform/sql/column_types.h"

#include <array>
#include <charconv>

#include "platform/automation/vbtext.h"

namespace quillane::sql {
namespace {

struct Entry {
  std::string_view name;
  ColumnType type;
  std::int32_t defaultLength = 0;  // the size when the declaration gives none
};

constexpr ColumnType make(ValueKind kind, std::int32_t adoType, SqlType sqlType, bool isText = false) {
  return ColumnType{kind, adoType, isText, sqlType == SqlType::RowVersion, sqlType, 0, 0};
}

// ADO codes: adSmallInt 2, adInteger 3, adSingle 4, adDouble 5, adCurrency 6, adBoolean 11,
// adUnsignedTinyInt 17, adBigInt 20, adGUID 72, adBinary 128, adChar 129, adWChar 130, adNumeric 131,
// adDBTimeStamp 135, adVarChar 200, adLongVarChar 201, adVarWChar 202, adLongVarWChar 203,
// adVarBinary 204, adLongVarBinary 205.
constexpr std::array kTypes{
    Entry{"bit", make(ValueKind::Boolean, 11, SqlType::Bit)},
    Entry{"tinyint", make(ValueKind::Integer, 17, SqlType::TinyInt)},
    Entry{"smallint", make(ValueKind::Integer, 2, SqlType::SmallInt)},
    Entry{"int", make(ValueKind::Long, 3, SqlType::Int)},
    Entry{"integer", make(ValueKind::Long, 3, SqlType::Int)},
    Entry{"bigint", make(ValueKind::Double, 20, SqlType::BigInt)},
    Entry{"real", make(ValueKind::Double, 4, SqlType::Real)},
    Entry{"float", make(ValueKind::Double, 5, SqlType::Float), 53},
    Entry{"double", make(ValueKind::Double, 5, SqlType::Float)},
    Entry{"decimal", make(ValueKind::Decimal, 131, SqlType::Decimal), 18},
    Entry{"numeric", make(ValueKind::Decimal, 131, SqlType::Decimal), 18},
    Entry{"money", make(ValueKind::Currency, 6, SqlType::Money)},
    Entry{"smallmoney", make(ValueKind::Currency, 6, SqlType::SmallMoney)},
    Entry{"datetime", make(ValueKind::Date, 135, SqlType::DateTime)},
    Entry{"smalldatetime", make(ValueKind::Date, 135, SqlType::SmallDateTime)},
    Entry{"date", make(ValueKind::Date, 135, SqlType::Date)},
    Entry{"timestamp", make(ValueKind::Bytes, 128, SqlType::RowVersion)},
    Entry{"rowversion", make(ValueKind::Bytes, 128, SqlType::RowVersion)},
    Entry{"binary", make(ValueKind::Bytes, 128, SqlType::Binary), 1},
    Entry{"varbinary", make(ValueKind::Bytes, 204, SqlType::VarBinary), 1},
    Entry{"image", make(ValueKind::Bytes, 205, SqlType::VarBinary), kNoLimit},
    Entry{"blob", make(ValueKind::Bytes, 205, SqlType::VarBinary), kNoLimit},
    Entry{"char", make(ValueKind::String, 129, SqlType::Char, true), 1},
    Entry{"nchar", make(ValueKind::String, 130, SqlType::Char, true), 1},
    Entry{"varchar", make(ValueKind::String, 200, SqlType::Char, true), 1},
    Entry{"nvarchar", make(ValueKind::String, 202, SqlType::Char, true), 1},
    Entry{"text", make(ValueKind::String, 201, SqlType::Char, true), kNoLimit},
    Entry{"ntext", make(ValueKind::String, 203, SqlType::Char, true), kNoLimit},
    Entry{"uniqueidentifier", make(ValueKind::String, 72, SqlType::UniqueIdentifier, true)},
};

// The numbers between the parentheses of "(80)", "(28, 10)", "(max)"; false when there are none.
bool sizes(std::string_view text, std::int32_t& first, std::int32_t& second, bool& hasSecond) {
  std::size_t open = text.find('('), close = text.find(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return false;
  std::string_view inside = text.substr(open + 1, close - open - 1);
  std::size_t comma = inside.find(',');
  auto number = [](std::string_view part, std::int32_t& out) {
    part = Trim(part);
    if (SameText(part, "max")) {
      out = kNoLimit;
      return true;
    }
    auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), out);
    return ec == std::errc() && end == part.data() + part.size();
  };
  hasSecond = comma != std::string_view::npos;
  return number(inside.substr(0, comma), first) && (!hasSecond || number(inside.substr(comma + 1), second));
}

}  // namespace

ColumnType ColumnTypeOf(std::string_view declared) {
  std::string_view base = Trim(declared.substr(0, declared.find('(')));
  for (const Entry& e : kTypes) {
    if (!SameText(e.name, base)) continue;
    ColumnType type = e.type;
    type.length = e.defaultLength;
    std::int32_t first = 0, second = 0;
    bool hasSecond = false;
    if (sizes(declared, first, second, hasSecond)) {
      type.length = first;
      if (type.sqlType == SqlType::Decimal) type.scale = hasSecond ? second : 0;
    }
    if (type.sqlType == SqlType::Float && type.length >= 1 && type.length <= 24) {
      type.sqlType = SqlType::Real;
      type.adoType = 4;
    }
    return type;
  }
  return {};
}

}  // namespace quillane::sql
