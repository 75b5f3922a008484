#include "platform/sql/durability.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sql/errors.h"

namespace quillane::sql {

void WriteWithoutSyncPerCommit(sqlite3* db) {
  sqlite3_stmt* mode = nullptr;
  bool wal = false;
  if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr) == SQLITE_OK && sqlite3_step(mode) == SQLITE_ROW)
    wal = sqlite3_stricmp(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal") == 0;
  sqlite3_finalize(mode);
  if (wal) sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
}

void SyncLog(const std::string& path) {
  const std::string log = path + "-wal";
  int fd = ::open(log.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return;
  } else {
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (synced) return;
    errno = error;
  }
  throw ProviderError(OleDbError::StorageIOFault,
                      "Cannot make the committed changes in '" + path + "' durable: " + std::strerror(errno));
}

}  // namespace quillane::sql
