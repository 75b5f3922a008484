// Reading decimal and money columns exactly: the stored INTEGER, REAL or BLOB of digits (see the store
// function) as the Decimal or Currency the column holds.
#pragma once

#include <optional>

#include "platform/automation/variant.h"
#include "platform/sql/column_types.h"

struct sqlite3_stmt;

namespace quillane::sql {

// The value of a decimal or numeric column (a Decimal at the column's scale) or of a money or
// smallmoney column (a Currency). A REAL counts by its 15 significant digits, all that it keeps.
// Nothing when the stored value is one the column's type cannot hold, as another program may have
// written it: a text that is no number, or a number beyond the precision or the range.
std::optional<Variant> ExactColumnValue(sqlite3_stmt* stmt, int column, const ColumnType& type);

// d rounded to 4 decimals as a money (or smallmoney) value; nothing outside the type's range.
std::optional<Currency> MoneyOf(const Decimal& d, SqlType type);

}  // namespace quillane::sql
