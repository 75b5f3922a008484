// What a declared column type means: the Variant type its values come back as, the ADO type code its
// field reports, and the SQL Server type whose rules a value written into it follows. The account set
// declares SQL Server type names, and SQLite keeps them as written, so one table serves both the schema
// file and tables created at run time.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillane::sql {

enum class ValueKind {
  Dynamic,  // an expression or an unknown type: the stored value's own type decides
  Boolean,
  Integer,
  Long,
  Double,
  Currency,
  Decimal,
  Date,
  String,
  Bytes,
};

// The SQL Server type family a value written into the column is converted to (stored_values.h).
enum class SqlType {
  Unknown,  // no SQL Server type: the value is stored as it comes
  Bit,
  TinyInt,
  SmallInt,
  Int,
  BigInt,
  Real,
  Float,
  Decimal,  // also numeric
  Money,
  SmallMoney,
  DateTime,
  SmallDateTime,
  Date,
  Char,  // char, varchar, nchar, nvarchar, text, ntext: text of at most `length` characters
  UniqueIdentifier,
  Binary,     // binary(n): padded with zero bytes to its length
  VarBinary,  // varbinary, image
  RowVersion,
};

struct ColumnType {
  ValueKind kind = ValueKind::Dynamic;
  std::int32_t adoType = 0;  // ADO's DataTypeEnum; 0 for Dynamic
  bool isText = false;       // compared without regard to case: declared COLLATE NOCASE
  bool isRowVersion = false; // stamped by the row-version triggers
  SqlType sqlType = SqlType::Unknown;
  // Char and binary types: the most characters or bytes, kNoLimit for max, text and image. Decimal:
  // the precision.
  std::int32_t length = 0;
  std::int32_t scale = 0;  // Decimal: the digits after the decimal point
};

inline constexpr std::int32_t kNoLimit = -1;

// The type of a declared type text such as "varchar(80)", "INT", "decimal(28, 10)" (case ignored);
// Dynamic and Unknown for an empty or unknown text. Sizes left out take SQL Server's defaults in a
// column definition: char(1), binary(1), decimal(18, 0); a size of -1 stands for max.
ColumnType ColumnTypeOf(std::string_view declared);

}  // namespace quillane::sql
