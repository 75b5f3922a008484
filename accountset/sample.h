// The sample rows of CreateSample (accountset.h).
#pragma once

#include <cstdint>

#include "accountset/accountset.h"

namespace quillane::sql {
class Database;
}

namespace quillane::accountset {

// Writes the rows into a new account set, inside the caller's transaction.
void FillSample(sql::Database& db, std::int32_t itemsPerClass, Kind kind);

}  // namespace quillane::accountset
