#include "platform/sql/connection.h"

#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/compat.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "platform/sql/read_session.h"

namespace quillane::sql {
namespace {

constexpr const char* kConnectionSource = "ADODB.Connection";
constexpr const char* kSupported = "this connection component supports Provider=SQLite;Data Source=<file>";

struct Pair {
  std::string key;
  std::string value;
};

// A value that opens with a quote runs to the same quote not doubled; whatever follows it up to the
// next ";" is dropped. An unquoted value runs to the next ";" and loses its blanks at either end.
std::vector<Pair> pairsOf(std::string_view text) {
  std::vector<Pair> pairs;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t eq = text.find('=', at), semicolon = text.find(';', at);
    if (eq == std::string_view::npos || semicolon < eq) {
      at = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
      continue;
    }
    Pair pair{std::string(Trim(text.substr(at, eq - at))), {}};
    at = text.find_first_not_of(" \t", eq + 1);
    if (at != std::string_view::npos && (text[at] == '"' || text[at] == '\'')) {
      const char quote = text[at++];
      while (at < text.size()) {
        if (text[at] == quote && (at + 1 >= text.size() || text[at + 1] != quote)) break;
        if (text[at] == quote) ++at;
        pair.value += text[at++];
      }
      semicolon = text.find(';', at);
    } else if (at != std::string_view::npos) {
      semicolon = text.find(';', at);
      pair.value = std::string(Trim(text.substr(at, semicolon == std::string_view::npos ? semicolon : semicolon - at)));
    }
    at = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

}  // namespace

std::string DataSourceOf(const std::string& connectString) {
  std::string provider, dataSource;
  for (const Pair& pair : pairsOf(connectString)) {
    if (SameText(pair.key, "Provider")) provider = pair.value;
    else if (SameText(pair.key, "Data Source")) dataSource = pair.value;
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

std::string ConnectStringOf(const std::string& path) {
  // An unquoted value loses blanks and tabs at its start and blanks at its end.
  const bool plain = path.find_first_of(";\"'") == std::string::npos &&
                     (path.empty() || (path.front() != ' ' && path.front() != '\t' && path.back() != ' ' && path.back() != '\t'));
  return "Provider=SQLite;Data Source=" + (plain ? path : '"' + Replace(path, "\"", "\"\"") + '"');
}

Connection::Connection() = default;
Connection::~Connection() {
  if (db_ && db_->inTransaction()) db_->tryExec("ROLLBACK");
  ReadSession::Close(std::move(db_));
}

void Connection::setConnString(const std::string& connectString) {
  if (connectString == connString_) return;
  if (db_ && db_->inTransaction() && !db_->holdsRead()) throw AdoObjectError(AdoError::ObjectOpen, kConnectionSource);
  CloseConn();
  connString_ = connectString;
}

Database& Connection::database() {
  if (!db_) {
    db_ = std::make_unique<Database>(DataSourceOf(connString_), Database::Mode::OpenExisting);
  }
  return *db_;
}

std::shared_ptr<Recordset> Connection::run(const std::string& sql) {
  std::optional<Rowset> rows = RunBatch(database(), sql);
  return rows ? std::make_shared<Recordset>(std::move(*rows)) : std::make_shared<Recordset>();
}

std::shared_ptr<Recordset> Connection::GetAnyRecordSet(const std::string& strSQL) { return run(strSQL); }

std::shared_ptr<Recordset> Connection::Execute(const std::string& strSQL) { return run(strSQL); }

void Connection::HoldReads() { database().holdReads(); }

void Connection::ForbidWrites() {
  // A connection that reads only may be one an earlier page of the same call kept, its statements still
  // prepared.
  if (!db_) db_ = ReadSession::TakeUp(DataSourceOf(connString_));
  database().forbidWrites();
}

std::int32_t Connection::BeginTrans() {
  Database& db = database();
  db.endHeldRead();
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
  if (!db_ || !db_->inTransaction() || db_->holdsRead()) throw ProviderError(OleDbError::NoTransaction, "No transaction is active.");
  db_->execScript("COMMIT");
}

void Connection::RollbackTrans() {
  if (!db_ || !db_->inTransaction() || db_->holdsRead()) throw ProviderError(OleDbError::NoTransaction, "No transaction is active.");
  db_->execScript("ROLLBACK");
}

void Connection::CloseConn() {
  if (!db_) return;
  if (db_->inTransaction()) db_->tryExec("ROLLBACK");
  // The caller's commits are made durable here, once, when it is done with the account set; a sync
  // that fails is the caller's error.
  std::unique_ptr<Database> db = std::move(db_);
  db->makeDurable();
  ReadSession::Close(std::move(db));
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
