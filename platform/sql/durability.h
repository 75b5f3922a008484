// When committed changes reach the disk. In a WAL file each commit is written to the log without a disk
// sync of its own (SQLite's synchronous NORMAL): a commit is atomic and survives the program's crash
// at once, and the caller that wrote makes its commits durable with one sync of the log when it is done,
// rather than paying one per record. A crash of the machine before that sync loses at most the commits
// since the previous one, each whole; SQLite never leaves half of one. A file in another journal mode
// keeps SQLite's full sync at every commit, where NORMAL could leave it damaged.
#pragma once

#include <string>

struct sqlite3;

namespace quillane::sql {

// Sets the connection to write without a sync per commit when the file is in WAL mode; leaves it
// alone otherwise. Writes nothing to the file.
void WriteWithoutSyncPerCommit(sqlite3* db);

// Syncs the log of the database file at path to the disk, so that every commit written to it is
// durable. A file without a log (its commits are in the file itself, synced by SQLite) needs nothing.
// Raises the provider's storage error when the system cannot sync.
void SyncLog(const std::string& path);

}  // namespace quillane::sql
