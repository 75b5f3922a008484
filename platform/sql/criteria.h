// ADO's criteria for a recordset's Find and Filter: comparisons of a field with a literal,
// "FNN='a''b'", "FQty >= 5", "FDate < #2024-01-31#", "FName LIKE 'Ab*'", "FRemark = NULL", joined by
// AND and OR (AND binds closer) and grouped by parentheses. Text compares without regard to case, as
// the database compares it.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/sql/rowset.h"

namespace quillane::sql {

class Criteria {
 public:
  // Raises ADO's error 3001 (source given) for text it cannot read, 3265 for a field not in columns.
  Criteria(std::string_view text, const std::vector<RowsetColumn>& columns, const std::string& source);
  ~Criteria();
  Criteria(Criteria&&) noexcept;
  Criteria& operator=(Criteria&&) noexcept;

  bool matches(const std::vector<Variant>& row) const;

  struct Node;

 private:
  std::unique_ptr<Node> root_;
};

}  // namespace quillane::sql
