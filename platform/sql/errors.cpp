#include "platform/sql/errors.h"

#include <sqlite3.h>

#include <cstring>
#include <string_view>

namespace quillane::sql {
namespace {

OleDbError numberOf(int extendedCode, std::string_view message) {
  switch (extendedCode & 0xFF) {
    case SQLITE_CONSTRAINT: return OleDbError::IntegrityViolation;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return OleDbError::Timeout;
    case SQLITE_MISMATCH:
    case SQLITE_RANGE: return OleDbError::CantConvertValue;
    case SQLITE_TOOBIG: return OleDbError::DataOverflow;
    case SQLITE_FULL: return OleDbError::StorageFull;
    case SQLITE_IOERR: return OleDbError::StorageIOFault;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return OleDbError::PermissionDenied;
    case SQLITE_ERROR:
      // SQL Server reports an unknown table or view ("Invalid object name") apart from other errors.
      return message.starts_with("no such table") || message.starts_with("no such view") ? OleDbError::NoTable
                                                                                        : OleDbError::ErrorsInCommand;
    default: return OleDbError::Fail;
  }
}

std::string adoDescription(AdoError error) {
  switch (error) {
    case AdoError::InvalidArgument:
      return "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";
    case AdoError::NoCurrentRecord:
      return "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
             "current record.";
    case AdoError::ItemNotFound:
      return "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    case AdoError::ObjectClosed: return "Operation is not allowed when the object is closed.";
    case AdoError::ObjectOpen: return "Operation is not allowed when the object is open.";
    case AdoError::ProviderNotFound: return "Provider cannot be found. It may not be properly installed.";
  }
  return {};
}

}  // namespace

std::string SystemReason(sqlite3* db, int rc) {
  // SQLite's own text ("disk I/O error", "unable to open database file") does not say what the system
  // refused: a full disk, a permission, a missing folder.
  const int primary = rc & 0xFF;
  if (!db || (primary != SQLITE_IOERR && primary != SQLITE_CANTOPEN && primary != SQLITE_FULL)) return {};
  const int error = sqlite3_system_errno(db);
  return error ? std::string(" (") + std::strerror(error) + ")" : std::string();
}

AutomationError ProviderError(OleDbError number, std::string description) {
  return AutomationError(static_cast<std::int32_t>(number), kProviderSource, std::move(description));
}

AutomationError EngineError(sqlite3* db, int rc) {
  int extended = db ? sqlite3_extended_errcode(db) : rc;
  std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if ((extended & 0xFF) != (rc & 0xFF)) extended = rc;  // the handle reports a later call than rc came from
  message += SystemReason(db, extended);
  OleDbError number = numberOf(extended, message);
  return ProviderError(number, std::move(message));
}

AutomationError AdoObjectError(AdoError error, std::string source, std::string description) {
  constexpr std::int32_t kAdoBase = static_cast<std::int32_t>(0x800A0000u);
  return AutomationError(kAdoBase + static_cast<std::int32_t>(error), std::move(source),
                         description.empty() ? adoDescription(error) : std::move(description));
}

}  // namespace quillane::sql
