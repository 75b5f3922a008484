// Account sets for tests, the demo and the benchmarks: new SQLite files with the ERP's tables
// (schema.sql), empty or with sample rows.
#pragma once

#include <cstdint>
#include <string>

namespace quillane::accountset {

// The connection string of the account set in the file at path, whatever characters the path holds.
std::string ConnectString(const std::string& path);

// A new account set at path with its system rows only (service pack 3.0.0.0, the administrator user
// 16, the item classes, item row 0). Raises the provider's error when the file exists or cannot be
// written; nothing is left behind then.
void CreateEmpty(const std::string& path);

// The kind of account set the sample is made for. The file does not record it: every call of the
// facade names it in its props string (AcctType).
enum class Kind {
  Industrial,
  // No cost accounting, work centres or fees; auxiliary data kept in com_SysType under the classes of
  // com_SysTypeClass; auxiliary properties of goods (item classes of FType 3 and 4) exchanged.
  Commercial,
};

// A new account set with sample rows: for every item class of the exchange that the kind of account
// set has, itemsPerClass detail items spread over groups, with their detail rows; bar codes of the
// materials; deletion keys; and a few records of each kind that item fields link to. The rows, their
// UUIDs included, depend on itemsPerClass and the kind only, so two calls make the same data.
void CreateSample(const std::string& path, std::int32_t itemsPerClass, Kind kind = Kind::Industrial);

}  // namespace quillane::accountset
