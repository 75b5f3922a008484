// What a declared column type means to the recordset: the Variant type its values come back as and the
// ADO type code its field reports. The account set declares SQL Server type names, and SQLite keeps
// them as written, so one table serves both the schema file and tables created at run time.
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
  Date,
  String,
  Bytes,
};

struct ColumnType {
  ValueKind kind = ValueKind::Dynamic;
  std::int32_t adoType = 0;  // ADO's DataTypeEnum; 0 for Dynamic
  bool isText = false;       // compared without regard to case: declared COLLATE NOCASE
  bool isRowVersion = false; // stamped by the row-version triggers
};

// The type of a declared type text such as "varchar(80)", "INT", "decimal(28, 10)" (case ignored);
// Dynamic for an empty or unknown text.
ColumnType ColumnTypeOf(std::string_view declared);

}  // namespace quillane::sql
