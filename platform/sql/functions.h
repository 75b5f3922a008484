// SQL functions the compatibility layer's rewritten text calls. They live in this process only, so
// nothing stored in the file (views, triggers, defaults) may use them.
#pragma once

namespace quillane::sql {

class Database;

// SQL Server's "+": numbers add, texts join, NULL with either side gives NULL, and a text meeting a
// number is read as a number (an error when it is none). Which one is meant shows only in the values,
// so the layer writes every "+" of the library's statements as a call of this function.
inline constexpr const char* kPlusFunction = "quillane_plus";

// Registers the plus function, the store function (stored_values.h) and the LIKE bounds (like_bounds.h)
// on the connection.
void RegisterFunctions(Database& db);

}  // namespace quillane::sql
