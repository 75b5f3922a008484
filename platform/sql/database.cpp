#include "platform/sql/database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/catalog.h"
#include "platform/sql/durability.h"
#include "platform/sql/errors.h"
#include "platform/sql/exact_columns.h"
#include "platform/sql/functions.h"
#include "platform/sql/engine_schema.h"
#include "platform/sql/trigger_switch.h"

namespace quillane::sql {
namespace {

std::string columnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, column)) : std::string();
}

Bytes columnBytes(sqlite3_stmt* stmt, int column) {
  const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, column));
  return data ? Bytes(data, data + sqlite3_column_bytes(stmt, column)) : Bytes();
}

Variant integerValue(sqlite3_int64 i) {
  if (i >= std::numeric_limits<std::int32_t>::min() && i <= std::numeric_limits<std::int32_t>::max())
    return Variant(static_cast<std::int32_t>(i));
  return Variant(static_cast<double>(i));
}

// The value as its own storage class gives it: what an expression column, or a stored value that does
// not fit its declared type (SQLite keeps what it is given), comes back as.
Variant storedValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return integerValue(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: return Variant(columnText(stmt, column));
    case SQLITE_BLOB: return Variant(columnBytes(stmt, column));
    default: return Variant::null();
  }
}

bool isNumber(int storage) { return storage == SQLITE_INTEGER || storage == SQLITE_FLOAT; }

Variant dateValue(sqlite3_stmt* stmt, int column) {
  std::string text = columnText(stmt, column);
  Date d;
  if (ParseDate(text, d)) return Variant(d);
  // SQL Server writes datetime text with milliseconds ("2024-01-05 10:20:30.000").
  if (auto dot = text.find('.'); dot != std::string::npos && ParseDate(text.substr(0, dot), d)) return Variant(d);
  return Variant(std::move(text));
}

// The value as its column's declared type gives it; nothing when a decimal or money column holds what
// its type cannot.
std::optional<Variant> typedValue(sqlite3_stmt* stmt, int column, const ColumnType& type) {
  int storage = sqlite3_column_type(stmt, column);
  if (storage == SQLITE_NULL) return Variant::null();
  switch (type.kind) {
    case ValueKind::Boolean:
      if (isNumber(storage)) return Variant(sqlite3_column_double(stmt, column) != 0);
      break;
    case ValueKind::Integer:
      if (storage == SQLITE_INTEGER) {
        sqlite3_int64 i = sqlite3_column_int64(stmt, column);
        if (i >= std::numeric_limits<std::int16_t>::min() && i <= std::numeric_limits<std::int16_t>::max())
          return Variant(static_cast<std::int16_t>(i));
      }
      break;
    case ValueKind::Double:
      if (isNumber(storage)) return Variant(sqlite3_column_double(stmt, column));
      break;
    case ValueKind::Currency:
    case ValueKind::Decimal: return ExactColumnValue(stmt, column, type);
    case ValueKind::Date:
      if (storage == SQLITE_TEXT) return dateValue(stmt, column);
      if (isNumber(storage)) return Variant(Date{sqlite3_column_double(stmt, column)});
      break;
    case ValueKind::Bytes:
      if (storage == SQLITE_BLOB) return Variant(columnBytes(stmt, column));
      if (storage == SQLITE_INTEGER) {
        // A row version written as a number by another program: its 8 bytes, most significant first.
        auto v = static_cast<std::uint64_t>(sqlite3_column_int64(stmt, column));
        Bytes b(8);
        for (int k = 7; k >= 0; --k, v >>= 8) b[k] = static_cast<std::uint8_t>(v & 0xFF);
        return Variant(std::move(b));
      }
      break;
    case ValueKind::String:
      if (storage != SQLITE_BLOB) return Variant(columnText(stmt, column));
      break;
    case ValueKind::Long:
    case ValueKind::Dynamic: break;
  }
  return storedValue(stmt, column);
}

void bindValue(sqlite3_stmt* stmt, int index, const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Null: sqlite3_bind_null(stmt, index); return;
    case VarType::Boolean: sqlite3_bind_int(stmt, index, v.as<bool>() ? 1 : 0); return;
    case VarType::Integer: sqlite3_bind_int(stmt, index, v.as<std::int16_t>()); return;
    case VarType::Long: sqlite3_bind_int(stmt, index, v.as<std::int32_t>()); return;
    case VarType::Double: sqlite3_bind_double(stmt, index, v.as<double>()); return;
    case VarType::Currency: sqlite3_bind_double(stmt, index, CDbl(v)); return;
    case VarType::Decimal: {
      const std::string text = CStr(v);  // every digit; the store function reads it as the column's type
      sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      return;
    }
    case VarType::Date: sqlite3_bind_text(stmt, index, FormatDate(v.as<Date>()).c_str(), -1, SQLITE_TRANSIENT); return;
    case VarType::String: {
      const std::string& s = v.as<std::string>();
      sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      return;
    }
    case VarType::Bytes: {
      const Bytes& b = v.as<Bytes>();
      sqlite3_bind_blob(stmt, index, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
      return;
    }
    case VarType::Object: break;
  }
  throw vbError(VbError::TypeMismatch);
}

}  // namespace

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, &tail);
  if (rc != SQLITE_OK) db.raise(rc);
  if (!stmt_) throw ProviderError(OleDbError::ErrorsInCommand, "The command text holds no statement.");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::bind(std::span<const Variant> params) {
  for (std::size_t i = 0; i < params.size(); ++i) bindValue(stmt_, static_cast<int>(i + 1), params[i]);
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.raise(rc);
}

void Statement::bindInteger(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

void Statement::bindReal(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void Statement::bindText(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::bindBlob(int index, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) sqlite3_bind_zeroblob(stmt_, index, 0);
  else sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

std::vector<RowsetColumn> Statement::columns() const {
  std::vector<RowsetColumn> columns;
  int count = sqlite3_column_count(stmt_);
  for (int c = 0; c < count; ++c) {
    const char* decl = sqlite3_column_decltype(stmt_, c);
    columns.push_back(RowsetColumn{sqlite3_column_name(stmt_, c), ColumnTypeOf(decl ? decl : "")});
  }
  return columns;
}

std::vector<std::vector<Variant>> Statement::readRows(const std::vector<RowsetColumn>& columns) {
  std::vector<std::vector<Variant>> rows;
  while (step()) {
    std::vector<Variant> row;
    row.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      std::optional<Variant> value = typedValue(stmt_, static_cast<int>(c), columns[c].type);
      if (!value) unfitValue(columns, row, c);
      row.push_back(std::move(*value));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Statement::unfitValue(const std::vector<RowsetColumn>& columns, const std::vector<Variant>& row,
                           std::size_t c) const {
  // Named by the row's first column (its key, for the account set's tables), so that the record can be found.
  std::string where;
  if (c > 0 && !row[0].isNull()) where = " of the row where " + columns[0].name + " = " + CStr(row[0]);
  const char* declared = sqlite3_column_decltype(stmt_, static_cast<int>(c));
  throw ProviderError(OleDbError::DataOverflow, "The value '" + Left(columnText(stmt_, static_cast<int>(c)), 128) +
                                                    "' in column " + columns[c].name + where + " does not fit its type " +
                                                    (declared ? declared : "") + ".");
}

Rowset Statement::readAll() {
  Rowset rowset{columns(), {}};
  rowset.rows = readRows(rowset.columns);
  return rowset;
}

std::int64_t Statement::integerAt(int column) const { return sqlite3_column_int64(stmt_, column); }

namespace {

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

// Byte 18 of a database header is 2 for a file in WAL mode.
bool isWalFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[20] = {};
  return in.read(header, sizeof header) && header[18] == 2;
}

// A file name as the path of an SQLite URI: every byte but the unreserved ones and "/" percent-encoded.
std::string uriPath(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string uri;
  for (unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    }
  }
  return uri;
}

}  // namespace

Database::Database(const std::string& path, Mode mode) : path_(path) {
  bool exists = fileExists(path);
  if (mode == Mode::CreateNew && exists)
    throw ProviderError(OleDbError::Fail, "The database file '" + path + "' already exists.");
  if (mode == Mode::OpenExisting && !exists)
    throw ProviderError(OleDbError::Fail, "Cannot open the database file '" + path + "': it does not exist.");
  open(path, SQLITE_OPEN_READWRITE | (mode == Mode::CreateNew ? SQLITE_OPEN_CREATE : 0));
  openedFile_ = identityOf(path);
  // A write-protected file in WAL mode can be read the ordinary way only beside a shared-memory file,
  // which read-only storage does not let SQLite make. With no log and no journal beside it, every
  // committed change is in the file itself, and this connection cannot change it: it is read as an
  // immutable file.
  if (sqlite3_db_readonly(db_, "main") == 1 && isWalFile(path) && !fileExists(path + "-wal") &&
      !fileExists(path + "-journal")) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    open("file:" + uriPath(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    // Read as it stands, never taken up again (unchangedSinceOpen).
    openedFile_.reset();
  }
  try {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
    // The plan of a kept statement never depends on the values bound to it: otherwise SQLite compiles
    // a statement again whenever the pattern bound to a LIKE changes. The range such a LIKE needs is
    // written out by the rewriter (like_bounds.h).
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_QPSG, 1, nullptr);
    if (mode == Mode::CreateNew) execScript("PRAGMA journal_mode=WAL");
    WriteWithoutSyncPerCommit(db_);
    sqlite3_commit_hook(
        db_,
        [](void* self) {
          auto* database = static_cast<Database*>(self);
          database->committedSinceSync_ = true;
          database->writeBegun_ = false;
          return 0;
        },
        this);
    sqlite3_rollback_hook(db_, [](void* self) { static_cast<Database*>(self)->writeBegun_ = false; }, this);
    if (mode == Mode::CreateNew) {
      execScript("BEGIN IMMEDIATE");
      InstallEngineSchema(*this);
      execScript("COMMIT");
    }
    // The catalogue's views are temporary: their commit writes nothing of the file that a sync would
    // owe it, and a connection that only reads closes without one.
    const bool committed = committedSinceSync_;
    AttachCatalog(*this);
    committedSinceSync_ = committed;
    RegisterFunctions(*this);
    openedAtSchema_ = schemaVersion();
  } catch (...) {
    sqlite3_close_v2(db_);
    throw;
  }
}

void Database::open(const std::string& uri, int flags) {
  int rc = sqlite3_open_v2(uri.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) + SystemReason(db_, rc) : sqlite3_errstr(rc);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw ProviderError(OleDbError::Fail, "Cannot open the database file '" + path_ + "': " + message);
  }
}

int Database::schemaVersion() {
  // Asked before every write: kept prepared.
  if (!schemaVersion_) schemaVersion_ = std::make_unique<Statement>(*this, "PRAGMA schema_version");
  int version = schemaVersion_->step() ? static_cast<int>(schemaVersion_->integerAt(0)) : -1;
  schemaVersion_->reset();
  return version;
}

std::optional<Database::FileIdentity> Database::identityOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

bool Database::unchangedSinceOpen() {
  // While this connection holds the file open, its inode cannot be handed to another file: another
  // identity at the path is another file put there.
  if (!openedFile_ || identityOf(path_) != openedFile_) return false;
  try {
    return schemaVersion() == openedAtSchema_;
  } catch (const AutomationError&) {
    return false;
  }
}

void Database::prepareWrite() {
  if (schemaVersion() != engineSchemaSeenAt_) {
    // The schema changed since the last write, here or in another program: a prepared write may name
    // a column's type that is no longer so.
    statements_.forgetWrites();
    if (!HasEngineSchema(*this)) InstallEngineSchema(*this);
    AttachCatalog(*this);
    engineSchemaSeenAt_ = schemaVersion();
  }
  // Only before the transaction's own first change: a trigger it disabled itself stays so until it ends.
  if (writeBegun_) return;
  writeBegun_ = true;
  EnableTriggersLeftDisabled(*this);
}

void Database::beginHeldRead() {
  if (!holdReads_ || inTransaction()) return;
  execScript("BEGIN");
  heldReadOpen_ = true;
}

void Database::endHeldRead() {
  if (holdsRead()) execScript("COMMIT");
  holdReads_ = heldReadOpen_ = false;
}

namespace {

// The pragmas whose argument names what to read rather than a setting to change.
constexpr const char* kReadingPragmas[] = {"table_info", "table_xinfo", "index_info", "index_xinfo", "index_list",
                                           "foreign_key_list", "foreign_key_check", "integrity_check", "quick_check"};

// A pragma with an argument sets something (query_only, journal_mode, case_sensitive_like...): refused,
// so that no statement can switch writes on again, and none can change how the connection reads for
// the pages of the call that take it up later (read_session.h).
int refuseWayOutOfQueryOnly(void*, int action, const char* first, const char* second, const char*, const char*) {
  if (action == SQLITE_ATTACH || action == SQLITE_DETACH) return SQLITE_DENY;
  if (action != SQLITE_PRAGMA || !second) return SQLITE_OK;
  for (const char* reading : kReadingPragmas)
    if (first && sqlite3_stricmp(first, reading) == 0) return SQLITE_OK;
  return SQLITE_DENY;
}

}  // namespace

void Database::forbidWrites() {
  if (writesForbidden_) return;
  writesForbidden_ = true;
  execScript("PRAGMA query_only=1");
  sqlite3_set_authorizer(db_, refuseWayOutOfQueryOnly, nullptr);
}

void Database::makeDurable() {
  if (!committedSinceSync_) return;
  SyncLog(path_);
  committedSinceSync_ = false;
}

Database::~Database() {
  try {
    makeDurable();
  } catch (const AutomationError&) {
    // Nobody is left to tell: a caller that must know closes through makeDurable first.
  }
  statements_.clear();
  schemaVersion_.reset();
  sqlite3_close_v2(db_);
}

bool Database::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Database::raise(int rc) const { throw EngineError(db_, rc); }

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void Database::execScript(std::string_view sql) {
  std::string text(sql);
  int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) raise(rc);
}

void Database::tryExec(std::string_view sql) noexcept {
  std::string text(sql);
  sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr);
}

std::optional<std::string> Database::declaredType(std::string_view table, std::string_view column) {
  const char* declared = nullptr;
  int rc = sqlite3_table_column_metadata(db_, nullptr, std::string(table).c_str(), std::string(column).c_str(), &declared,
                                         nullptr, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return std::nullopt;
  return std::string(declared ? declared : "");
}

std::vector<std::string> Database::columnNames(std::string_view table) {
  Variant name(table);
  std::vector<std::string> names;
  for (const auto& row : query("SELECT name FROM pragma_table_info(?1)", {&name, 1}).rows) names.push_back(CStr(row[0]));
  return names;
}

Rowset Database::query(std::string_view sql, std::span<const Variant> params) {
  Statement stmt(*this, sql);
  stmt.bind(params);
  return stmt.readAll();
}

void Database::run(std::string_view sql, std::span<const Variant> params) {
  Statement stmt(*this, sql);
  stmt.bind(params);
  while (stmt.step()) {
  }
}

}  // namespace quillane::sql
