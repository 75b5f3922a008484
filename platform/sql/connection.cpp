#include "platform/sql/connection.h"

#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/compat.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"

namespace quillane::sql {
namespace {

constexpr const char* kConnectionSource = "ADODB.Connection";
constexpr const char* kSupported = "this connection component supports Provider=SQLite;Data Source=<file>";

std::string unquoted(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

}  // namespace

std::string DataSourceOf(const std::string& connectString) {
  std::string provider, dataSource;
  for (const std::string& pair : Split(connectString, ";")) {
    std::size_t eq = pair.find('=');
    if (eq == std::string::npos) continue;
    std::string_view key = Trim(std::string_view(pair).substr(0, eq));
    std::string value = unquoted(std::string_view(pair).substr(eq + 1));
    if (SameText(key, "Provider")) provider = value;
    else if (SameText(key, "Data Source")) dataSource = value;
  }
  if (!SameText(provider, "SQLite"))
    throw AdoObjectError(AdoError::ProviderNotFound, kConnectionSource,
                         (provider.empty() ? std::string("The connection string names no provider")
                                           : "The provider '" + provider + "' is not available") +
                             "; " + kSupported + ".");
  if (dataSource.empty())
    throw ProviderError(OleDbError::Fail, std::string("The connection string names no data source; ") + kSupported + ".");
  return dataSource;
}

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::setConnString(const std::string& connectString) {
  if (connectString == connString_) return;
  if (db_ && db_->inTransaction()) throw AdoObjectError(AdoError::ObjectOpen, kConnectionSource);
  CloseConn();
  connString_ = connectString;
}

Database& Connection::database() {
  if (!db_) db_ = std::make_unique<Database>(DataSourceOf(connString_), Database::Mode::OpenExisting);
  return *db_;
}

std::shared_ptr<Recordset> Connection::run(const std::string& sql) {
  std::optional<Rowset> rows = RunBatch(database(), sql);
  return rows ? std::make_shared<Recordset>(std::move(*rows)) : std::make_shared<Recordset>();
}

std::shared_ptr<Recordset> Connection::GetAnyRecordSet(const std::string& strSQL) { return run(strSQL); }

std::shared_ptr<Recordset> Connection::Execute(const std::string& strSQL) { return run(strSQL); }

std::int32_t Connection::BeginTrans() {
  Database& db = database();
  if (db.inTransaction())
    throw ProviderError(OleDbError::TransactionExists, "Only one transaction can be active on this session.");
  // IMMEDIATE takes the write lock now, waiting for another writer if need be, so that a transaction
  // that reads before it writes cannot fail on a change another connection made in between.
  db.execScript("BEGIN IMMEDIATE");
  try {
    db.prepareWrite();
  } catch (...) {
    db.tryExec("ROLLBACK");
    throw;
  }
  return 1;
}

void Connection::CommitTrans() {
  if (!db_ || !db_->inTransaction()) throw ProviderError(OleDbError::NoTransaction, "No transaction is active.");
  db_->execScript("COMMIT");
}

void Connection::RollbackTrans() {
  if (!db_ || !db_->inTransaction()) throw ProviderError(OleDbError::NoTransaction, "No transaction is active.");
  db_->execScript("ROLLBACK");
}

void Connection::CloseConn() {
  if (db_ && db_->inTransaction()) db_->tryExec("ROLLBACK");
  db_.reset();
}

bool Connection::AddDefault(std::int32_t&, const std::string&) { return true; }

const DispatchTable& Connection::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<Connection>()
                                         .get("ConnString", 1, &Connection::ConnString)
                                         .let("ConnString", 1, &Connection::setConnString)
                                         .method("GetAnyRecordSet", 2, &Connection::GetAnyRecordSet)
                                         .method("Execute", 3, &Connection::Execute)
                                         .method("BeginTrans", 4, &Connection::BeginTrans)
                                         .method("CommitTrans", 5, &Connection::CommitTrans)
                                         .method("RollbackTrans", 6, &Connection::RollbackTrans)
                                         .method("CloseConn", 7, &Connection::CloseConn)
                                         .method("AddDefault", 8, &Connection::AddDefault)
                                         .build();
  return table;
}

QUILLANE_REGISTER_CLASS(kConnectionProgID, Connection)

}  // namespace quillane::sql
