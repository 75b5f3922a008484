// The values a statement writes into columns, each wrapped in the store function with the column's
// declared type, so that SQL Server's rules for the type decide what is stored (stored_values.h):
//   INSERT INTO t (a, b) VALUES (x, y)
//     -> INSERT INTO t (a, b) VALUES (quillane_store('int', x), quillane_store('varchar(80)', y))
//   INSERT INTO t (a, b) SELECT ...
//     -> WITH quillane_source (quillane_1, quillane_2) AS (SELECT ...)
//        INSERT INTO t (a, b) SELECT quillane_store('int', quillane_1), ... FROM quillane_source
//   UPDATE t SET a = x ... -> UPDATE t SET a = quillane_store('int', x) ...
// An INSERT without a column list writes the table's columns in order. A table or column the database
// does not have, or a column of no SQL Server type, is left alone: SQLite then says what is wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sql/lexer.h"

namespace quillane::sql {

// What the database knows of its tables' columns.
class ColumnCatalog {
 public:
  virtual ~ColumnCatalog() = default;
  // The declared type text of table.column ("" when it has none); nothing when the table (not a view)
  // or the column does not exist.
  virtual std::optional<std::string> declaredType(std::string_view table, std::string_view column) = 0;
  // The names of the table's columns in order; none when there is no such table.
  virtual std::vector<std::string> columnNames(std::string_view table) = 0;
};

// Wraps the values of an INSERT or UPDATE (tokens after INSERT INTO has been completed); other
// statements stay as they are. Raises SQL Server's error for a statement that writes a row-version
// column by name, which SQL Server refuses whatever the value.
void WrapColumnWrites(std::vector<Token>& tokens, ColumnCatalog& catalog);

}  // namespace quillane::sql
