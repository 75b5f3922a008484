#include "platform/sql/column_types.h"

#include <array>

#include "platform/automation/vbtext.h"

namespace quillane::sql {
namespace {

struct Entry {
  std::string_view name;
  ColumnType type;
};

// ADO codes: adSmallInt 2, adInteger 3, adSingle 4, adDouble 5, adCurrency 6, adBoolean 11,
// adUnsignedTinyInt 17, adBigInt 20, adGUID 72, adBinary 128, adChar 129, adWChar 130, adNumeric 131,
// adDBTimeStamp 135, adVarChar 200, adLongVarChar 201, adVarWChar 202, adLongVarWChar 203,
// adVarBinary 204, adLongVarBinary 205.
constexpr std::array kTypes{
    Entry{"bit", {ValueKind::Boolean, 11}},
    Entry{"tinyint", {ValueKind::Integer, 17}},
    Entry{"smallint", {ValueKind::Integer, 2}},
    Entry{"int", {ValueKind::Long, 3}},
    Entry{"integer", {ValueKind::Long, 3}},
    Entry{"bigint", {ValueKind::Double, 20}},
    Entry{"real", {ValueKind::Double, 4}},
    Entry{"float", {ValueKind::Double, 5}},
    Entry{"double", {ValueKind::Double, 5}},
    Entry{"decimal", {ValueKind::Double, 131}},
    Entry{"numeric", {ValueKind::Double, 131}},
    Entry{"money", {ValueKind::Currency, 6}},
    Entry{"smallmoney", {ValueKind::Currency, 6}},
    Entry{"datetime", {ValueKind::Date, 135}},
    Entry{"smalldatetime", {ValueKind::Date, 135}},
    Entry{"date", {ValueKind::Date, 135}},
    Entry{"timestamp", {ValueKind::Bytes, 128, false, true}},
    Entry{"rowversion", {ValueKind::Bytes, 128, false, true}},
    Entry{"binary", {ValueKind::Bytes, 128}},
    Entry{"varbinary", {ValueKind::Bytes, 204}},
    Entry{"image", {ValueKind::Bytes, 205}},
    Entry{"blob", {ValueKind::Bytes, 205}},
    Entry{"char", {ValueKind::String, 129, true}},
    Entry{"nchar", {ValueKind::String, 130, true}},
    Entry{"varchar", {ValueKind::String, 200, true}},
    Entry{"nvarchar", {ValueKind::String, 202, true}},
    Entry{"text", {ValueKind::String, 201, true}},
    Entry{"ntext", {ValueKind::String, 203, true}},
    Entry{"uniqueidentifier", {ValueKind::String, 72, true}},
};

}  // namespace

ColumnType ColumnTypeOf(std::string_view declared) {
  std::string_view base = Trim(declared.substr(0, declared.find('(')));
  for (const Entry& e : kTypes)
    if (SameText(e.name, base)) return e.type;
  return {};
}

}  // namespace quillane::sql
