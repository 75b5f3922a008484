// Figures the program reads from an account set itself, for the user's information only.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillane::cli {

// The records of each item class in the account set at path that has any, the class named in the
// user's language.
std::vector<std::pair<std::string, std::int32_t>> RecordsPerClass(const std::string& path);

// The records a bulk export of data type lIO after stamp will write, for a type kept in the item
// table; 0 (not known) for other types and for a stamp the export will refuse.
std::int32_t BulkExportTotal(const std::string& path, std::int32_t lIO, std::string stamp);

}  // namespace quillane::cli
