// The errors of the connection component. Database failures look as the SQL Server provider reports
// them (its source text and OLE DB numbers) because the library's error texts and handlers test for
// exactly that; misuse of a recordset or connection object raises ADO's own numbers and sources.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/errors.h"

struct sqlite3;

namespace quillane::sql {

inline constexpr const char* kProviderSource = "Microsoft OLE DB Provider for SQL Server";

// OLE DB result codes of the provider, as signed 32-bit error numbers.
enum class OleDbError : std::int32_t {
  Fail = static_cast<std::int32_t>(0x80004005u),               // the database cannot be opened or is damaged
  ErrorsInCommand = static_cast<std::int32_t>(0x80040E14u),    // syntax, unknown column, unsupported text
  IntegrityViolation = static_cast<std::int32_t>(0x80040E2Fu), // a constraint refused the change
  NoTable = static_cast<std::int32_t>(0x80040E37u),            // an object that does not exist
  Timeout = static_cast<std::int32_t>(0x80040E31u),            // the database stayed locked too long
  CantConvertValue = static_cast<std::int32_t>(0x80040E07u),
  DataOverflow = static_cast<std::int32_t>(0x80040E57u),
  PermissionDenied = static_cast<std::int32_t>(0x80040E09u),   // a read-only file
  StorageFull = static_cast<std::int32_t>(0x80030070u),        // the disk or the file's size limit is full
  StorageIOFault = static_cast<std::int32_t>(0x8003001Du),     // the file could not be read or written
  NoTransaction = static_cast<std::int32_t>(0x8004D00Eu),
  TransactionExists = static_cast<std::int32_t>(0x8004D013u),
};

AutomationError ProviderError(OleDbError number, std::string description);

// The error of the last failed engine call on db (rc its result code), with the engine's message and,
// for a fault of the storage (I/O, cannot open, full), the system's reason (SystemReason).
AutomationError EngineError(sqlite3* db, int rc);
// " (<the system's text for the errno of the failed call>)" when rc is such a storage fault, else empty.
std::string SystemReason(sqlite3* db, int rc);

// ADO's errors about the use of its objects.
enum class AdoError : std::int32_t {
  InvalidArgument = 3001,   // criteria that cannot be parsed, a bad argument
  NoCurrentRecord = 3021,   // BOF or EOF where a current record is needed
  ItemNotFound = 3265,      // no field of that name or position
  ObjectClosed = 3704,      // the recordset has been closed
  ObjectOpen = 3705,        // the connection cannot change while a transaction is open
  ProviderNotFound = 3706,  // the connection string names a provider this component does not carry
};

// source is the ADO object that raises: "ADODB.Recordset", "ADODB.Fields", "ADODB.Connection".
AutomationError AdoObjectError(AdoError error, std::string source, std::string description = {});

}  // namespace quillane::sql
