// Read-only connections kept open between calls. An export opens the account set, reads it and closes
// it again, page after page; opening costs more than a page of a thousand rows (the catalogue views,
// the functions, every statement compiled again). So a connection that only read is kept, idle, and
// the next read of the same file takes it up, with its statements still prepared.
//
// Kept is a connection that forbids writes (Database::forbidWrites) and holds no transaction: every
// call reads the database as it stands when that call starts, and nothing a write needs is ever
// served by it. One is taken up only while its file is still the one at the path, with the schema it
// opened on (Database::unchangedSinceOpen); otherwise it is closed and the caller opens the file anew.
// Per thread, as all module state of the library, and a few at most. While one is kept, the file's
// log and shared-memory index stay beside it, as they do beside any open connection: another
// program's commits stay in the log until a checkpoint, and a file put at the path by hand is safe
// once this process has taken it up or closed its readers.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace quillane::sql {

class Database;

inline constexpr std::size_t kIdleReadersKept = 4;

// An idle read-only connection to the file at path, ready for another call; null when none fits.
std::unique_ptr<Database> TakeIdleReader(const std::string& path);

// Closes the idle connections to the file at path: before a connection that may write opens it, so
// that this one is the last to close the file and folds the log into it, as when no reader was kept.
// A copy of the file made after a call that wrote then holds every commit.
void CloseIdleReaders(const std::string& path) noexcept;

// Keeps a connection whose caller is done with it, when it is read-only: its held read ended, it
// waits for the next TakeIdleReader of its path. Any other is closed here. The one kept longest is
// closed beyond kIdleReadersKept.
void KeepIdleReader(std::unique_ptr<Database> db) noexcept;

}  // namespace quillane::sql
