// How long a connection to an account set lives, and the one way it outlives its Connection object.
//
// A connection lives as long as the call that opened it: CloseConn, or the end of the Connection
// object, closes it. Between two calls the library holds nothing of the file: no SQLite handle, no
// open descriptor of the file, its -wal or its -shm, no lock and nothing read from it. A user who
// moves or copies another account set over the path between two calls, with or without another
// program having written the old file before, cannot have it damaged or misread: the next call opens
// whatever file then stands at the path and its own log, as any program opening it for the first time
// would. The harm this rules out is an open connection's: SQLite keeps the log and shared-memory index
// of the file it opened, and a file put in its place under them is read through the old index (the
// old records, as success) or gets the old log's pages checkpointed into it (damaged for good).
//
// A ReadSession stretches that life over one call of the library that reads: an export, whose props
// check reads the account set before the page does, and a bulk export, which reads page after page.
// While one lives on this thread, a read-only connection (Database::forbidWrites) that its Connection
// closes is kept, its held read ended, for the next read-only Connection of the same file in the same
// call to take up with its statements still prepared. The session is the caller's one call, so the
// file is held only while that call runs, as one long page would hold it; the session's end closes what
// it kept. A connection that may write is never kept, and one kept is taken up only while the file at
// the path is the one it opened, with the schema it opened on (the columns of its prepared statements
// are still true). Sessions nest (a bulk export calls page exports): the outermost one keeps.
#pragma once

#include <memory>
#include <string>

namespace quillane::sql {

class Database;

class ReadSession {
 public:
  ReadSession();
  ~ReadSession();
  ReadSession(const ReadSession&) = delete;
  ReadSession& operator=(const ReadSession&) = delete;

  // The read-only connection to the file at path this thread's session keeps; null when there is none
  // (or it is out of date: it is closed then).
  static std::unique_ptr<Database> TakeUp(const std::string& path);
  // Ends a connection whose Connection is done with it and rolled back what it left open: kept by this
  // thread's session when it is read-only and its commits are on the disk, else closed.
  static void Close(std::unique_ptr<Database> db) noexcept;

 private:
  std::unique_ptr<Database> kept_;
};

}  // namespace quillane::sql
