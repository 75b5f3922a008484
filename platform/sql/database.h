// One open SQLite database: the engine under the connection component. It runs SQLite text; the SQL
// Server text of the library reaches it through the compatibility layer (compat.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "platform/sql/column_writes.h"
#include "platform/sql/rowset.h"
#include "platform/sql/statement_cache.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillane::sql {

class Database;

// How many of the library's statements a connection keeps prepared: more than one import or export
// sends in all its shapes.
inline constexpr std::size_t kStatementCacheCapacity = 200;

// A prepared statement; parameters are bound from Variants, rows read back typed by column.
class Statement {
 public:
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds ?1, ?2... in order.
  void bind(std::span<const Variant> params);
  // Binds one parameter (1 for ?1). An empty byte string binds a zero-length blob, not NULL.
  void bindInteger(int index, std::int64_t value);
  void bindReal(int index, double value);
  void bindText(int index, std::string_view text);
  void bindBlob(int index, std::span<const std::uint8_t> bytes);
  // Makes the statement ready to run again with new parameters.
  void reset();
  // Advances to the next row; false when the statement is done. Raises the engine's error.
  bool step();
  // The name and declared type of each column of the rows it returns.
  std::vector<RowsetColumn> columns() const;
  // The remaining rows (all of them before the first step), typed as columns() gives them. A decimal or
  // money column holding what its type cannot (written by another program) raises the provider's
  // data overflow, naming the column and the row.
  std::vector<std::vector<Variant>> readRows(const std::vector<RowsetColumn>& columns);
  Rowset readAll();
  std::int64_t integerAt(int column) const;  // of the current row

 private:
  [[noreturn]] void unfitValue(const std::vector<RowsetColumn>& columns, const std::vector<Variant>& row,
                               std::size_t c) const;
  Database& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database : public ColumnCatalog {
 public:
  enum class Mode { OpenExisting, CreateNew };

  // Opens the file; CreateNew refuses a file that exists, OpenExisting one that does not. A new file
  // starts in WAL mode (a second connection reads while an import holds its transaction) with the
  // engine's objects; an existing one is opened as it is, writing nothing, and read-only when it is
  // write-protected. Every connection gets a busy timeout and the compatibility layer's catalogue and
  // functions.
  Database(const std::string& path, Mode mode);
  ~Database() override;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& path() const { return path_; }
  sqlite3* handle() const { return db_; }
  bool inTransaction() const;

  // Runs SQLite text that may hold several statements (schema scripts, the engine's own statements).
  void execScript(std::string_view sql);
  // The same for clean-up on a path that is already failing: an error here is dropped.
  void tryExec(std::string_view sql) noexcept;
  // Runs one statement with parameters; the rows it returns, if any.
  Rowset query(std::string_view sql, std::span<const Variant> params = {});
  void run(std::string_view sql, std::span<const Variant> params = {});

  [[noreturn]] void raise(int rc) const;

  // Syncs what this connection committed since it opened or last synced to the disk (durability.h);
  // nothing when it committed nothing. Raises the provider's storage error when the sync fails. The
  // destructor does it too, dropping the error.
  void makeDurable();
  // Whether makeDurable has commits of this connection to sync.
  bool owesSync() const { return committedSinceSync_; }

  // Called inside a write transaction before each change: a file that lacks the engine's objects
  // gets them now, so they roll back with the write; before the transaction's first change, triggers
  // an earlier transaction left disabled are enabled again (trigger_switch.h). Cheap once they were
  // seen in place.
  void prepareWrite();

  // The prepared statements of the library's statements on this connection (statement_runner.h).
  StatementCache& statements() { return statements_; }

  // A read transaction held across statements, for a caller that only reads for a while: what it reads
  // is one state of the database, and each statement does not take and drop the file's read lock.
  // holdReads asks for it; beginHeldRead opens it before a statement that reads, when no transaction
  // is open; endHeldRead ends it (it wrote nothing) and holds no more.
  void holdReads() { holdReads_ = true; }
  void beginHeldRead();
  bool holdsRead() const { return heldReadOpen_ && inTransaction(); }
  void endHeldRead();

  // From now on until the database closes, no statement can change it: SQLite's query_only, and an
  // authorizer that refuses to attach another file or to set any pragma (switching query_only off
  // again, or changing how the connection reads), since a statement a caller composed (an export's
  // filter) may try either. A refused write raises the provider's
  // permission error. There is no way back on this connection.
  void forbidWrites();
  bool writesForbidden() const { return writesForbidden_; }

  // For a connection kept for the next page of one call (read_session.h): true while the file at path()
  // is still the one it opened and its schema is the one it opened on, so that nothing it learnt of the
  // file (prepared statements and their columns, the catalogue views) is out of date. Never true of a
  // file read as immutable: that connection would not see another program's later changes.
  bool unchangedSinceOpen();

  std::optional<std::string> declaredType(std::string_view table, std::string_view column) override;
  std::vector<std::string> columnNames(std::string_view table) override;

 private:
  void open(const std::string& uri, int flags);
  int schemaVersion();
  struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileIdentity&) const = default;
  };
  static std::optional<FileIdentity> identityOf(const std::string& path);

  std::string path_;
  sqlite3* db_ = nullptr;
  // The schema version at which the engine's objects were last seen in place; a rollback that undid
  // their installation, or another program's schema change, moves the version and so asks again.
  int engineSchemaSeenAt_ = -1;
  std::unique_ptr<Statement> schemaVersion_;
  bool holdReads_ = false, heldReadOpen_ = false;
  bool committedSinceSync_ = false;
  bool writeBegun_ = false;  // prepareWrite ran in the open transaction
  bool writesForbidden_ = false;
  std::optional<FileIdentity> openedFile_;  // none for a file read as immutable
  int openedAtSchema_ = -1;
  StatementCache statements_{kStatementCacheCapacity};
};

// A name between double quotes, for SQLite text the engine builds itself.
std::string QuoteIdentifier(std::string_view name);

// How long a statement waits for another connection's write lock before it fails.
inline constexpr int kBusyTimeoutMilliseconds = 30000;

}  // namespace quillane::sql
