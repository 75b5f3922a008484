// The rows a statement returned, read whole: what a client-side recordset holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/sql/column_types.h"

namespace quillane::sql {

struct RowsetColumn {
  std::string name;
  ColumnType type;  // from the declared type of the column the value comes from
};

struct Rowset {
  std::vector<RowsetColumn> columns;
  std::vector<std::vector<Variant>> rows;
};

}  // namespace quillane::sql
