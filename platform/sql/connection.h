// "VLMConnection.Connection": the connection component the library reaches its account set through.
//
// ConnString takes the connection string "Provider=SQLite;Data Source=<file>"; no open call follows:
// the database opens on the first use after the string is set, and again after CloseConn. The
// library's SQL Server text runs through the compatibility layer (compat.h). Late-bound members:
// ConnString, GetAnyRecordSet, Execute, BeginTrans, CommitTrans, RollbackTrans, CloseConn, AddDefault.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/sql/recordset.h"

namespace quillane::sql {

class Database;

inline constexpr const char* kConnectionProgID = "VLMConnection.Connection";

// The file named by a connection string. Raises ADO's error 3706 for another provider, and the
// provider's error for a string without a data source. Pairs are "key=value" separated by ";"; a value
// in double or single quotes may hold ";", and its own quote doubled stands for one.
std::string DataSourceOf(const std::string& connectString);

// The connection string of the account set in the file at path; the path is quoted when it holds what
// would otherwise end or change the value (";", a quote, blanks or tabs at either end).
std::string ConnectStringOf(const std::string& path);

class Connection : public AutomationObject {
 public:
  Connection();
  ~Connection() override;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "Connection"; }

  const std::string& ConnString() const { return connString_; }
  // A different string closes an open database, to open the new one on the next use; the same string
  // keeps it open. While a transaction is open only the same string is accepted (ADO's error 3705).
  void setConnString(const std::string& connectString);

  // The rows of the first statement of the batch that returns rows, positioned on the first row; a
  // closed recordset when no statement returns rows. Database errors raise with the provider's source.
  std::shared_ptr<Recordset> GetAnyRecordSet(const std::string& strSQL);
  // Runs DML, DDL and batches; a query gives its recordset as GetAnyRecordSet does.
  std::shared_ptr<Recordset> Execute(const std::string& strSQL);

  // One transaction at a time. CommitTrans or RollbackTrans without one raises "No transaction is
  // active." and changes nothing, so a caller that resumes past the error goes on safely.
  std::int32_t BeginTrans();  // the nesting level: 1
  void CommitTrans();
  void RollbackTrans();

  // From the next statement until CloseConn, BeginTrans or a statement that writes, every statement
  // reads the database as it stood at the first of them, in one read transaction (Database::holdReads).
  // Not a late-bound member: the library asks for it where it reads for a while, as an export does.
  void HoldReads();
  // Until CloseConn no statement can write (Database::forbidWrites): for an operation that must only
  // read whatever text it runs. Asked before the database is open, it takes up the read-only connection
  // an earlier page of the same call left to the caller's ReadSession, and CloseConn leaves this one to
  // it in turn (read_session.h). Not a late-bound member.
  void ForbidWrites();

  // Closes the database, rolling back an open transaction, after syncing what it committed to the disk
  // (raising the provider's storage error when that fails); the object stays usable. Within a
  // ReadSession a read-only connection is kept for the next page of the call instead (read_session.h).
  void CloseConn();
  bool IsOpen() const { return db_ != nullptr; }

  // The ERP's default data of a new item class: this stand-in keeps none and accepts the call.
  bool AddDefault(std::int32_t& lItemClassID, const std::string& strConnectString);

  // The open database (opening it first), for C++ callers that run SQLite text of their own.
  Database& database();

 private:
  std::shared_ptr<Recordset> run(const std::string& sql);

  std::string connString_;
  std::unique_ptr<Database> db_;
};

}  // namespace quillane::sql
