// The sample rows of CreateSample (accountset.h).
#pragma once

#include <cstdint>

namespace quillane::sql {
class Database;
}

namespace quillane::accountset {

// Writes the rows into a new account set, inside the caller's transaction.
void FillSample(sql::Database& db, std::int32_t itemsPerClass);

}  // namespace quillane::accountset
