#include "platform/sql/functions.h"

#include <sqlite3.h>

#include <string>

#include "platform/sql/database.h"
#include "platform/sql/like_bounds.h"
#include "platform/sql/stored_values.h"

namespace quillane::sql {
namespace {

bool isNumber(int type) { return type == SQLITE_INTEGER || type == SQLITE_FLOAT; }

std::string valueText(sqlite3_value* v) {
  const unsigned char* text = sqlite3_value_text(v);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_value_bytes(v)) : std::string();
}

void join(sqlite3_context* ctx, sqlite3_value* a, sqlite3_value* b) {
  bool binary = sqlite3_value_type(a) == SQLITE_BLOB && sqlite3_value_type(b) == SQLITE_BLOB;
  std::string joined;
  for (sqlite3_value* v : {a, b}) {
    if (binary) {
      const char* data = static_cast<const char*>(sqlite3_value_blob(v));
      if (data) joined.append(data, sqlite3_value_bytes(v));
    } else {
      joined += valueText(v);
    }
  }
  if (binary)
    sqlite3_result_blob(ctx, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
  else
    sqlite3_result_text(ctx, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
}

void add(sqlite3_context* ctx, sqlite3_value* a, sqlite3_value* b) {
  for (sqlite3_value* v : {a, b}) {
    if (!isNumber(sqlite3_value_numeric_type(v))) {
      std::string message = "Conversion failed when converting the varchar value '" + valueText(v) +
                            "' to data type int.";
      sqlite3_result_error(ctx, message.c_str(), -1);
      sqlite3_result_error_code(ctx, SQLITE_MISMATCH);
      return;
    }
  }
  if (sqlite3_value_type(a) == SQLITE_INTEGER && sqlite3_value_type(b) == SQLITE_INTEGER) {
    sqlite3_int64 sum;
    if (!__builtin_add_overflow(sqlite3_value_int64(a), sqlite3_value_int64(b), &sum)) {
      sqlite3_result_int64(ctx, sum);
      return;
    }
  }
  sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
}

void plus(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int a = sqlite3_value_type(argv[0]), b = sqlite3_value_type(argv[1]);
  if (a == SQLITE_NULL || b == SQLITE_NULL)
    sqlite3_result_null(ctx);
  else if (isNumber(a) || isNumber(b))
    add(ctx, argv[0], argv[1]);
  else
    join(ctx, argv[0], argv[1]);
}

}  // namespace

void RegisterFunctions(Database& db) {
  using Function = void (*)(sqlite3_context*, int, sqlite3_value**);
  struct Registered {
    const char* name;
    Function function;
    int arguments;
  };
  // The store function takes a number literal's own text as a third argument (column_writes.h).
  for (auto [name, function, arguments] :
       {Registered{kPlusFunction, plus, 2}, Registered{kStoreFunction, StoreFunction, 2},
        Registered{kStoreFunction, StoreFunction, 3}, Registered{kLikeFloorFunction, LikeFloorFunction, 1},
        Registered{kLikeFloorFunction, LikeFloorFunction, 2}, Registered{kLikeCeilingFunction, LikeCeilingFunction, 1},
        Registered{kLikeCeilingFunction, LikeCeilingFunction, 2}}) {
    int rc = sqlite3_create_function_v2(db.handle(), name, arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        function, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) db.raise(rc);
  }
}

}  // namespace quillane::sql
