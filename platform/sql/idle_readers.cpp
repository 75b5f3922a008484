#include "platform/sql/idle_readers.h"

#include <deque>

#include "platform/automation/errors.h"
#include "platform/sql/database.h"

namespace quillane::sql {
namespace {

thread_local std::deque<std::unique_ptr<Database>> idle;  // the most recently kept last

}  // namespace

std::unique_ptr<Database> TakeIdleReader(const std::string& path) {
  for (auto it = idle.rbegin(); it != idle.rend(); ++it) {
    if ((*it)->path() != path) continue;
    std::unique_ptr<Database> db = std::move(*it);
    idle.erase(std::next(it).base());
    if (db->unchangedSinceOpen()) return db;
    return nullptr;  // closed here, before the caller opens the file anew
  }
  return nullptr;
}

void CloseIdleReaders(const std::string& path) noexcept {
  std::erase_if(idle, [&](const std::unique_ptr<Database>& db) { return db->path() == path; });
}

void KeepIdleReader(std::unique_ptr<Database> db) noexcept {
  if (!db || !db->writesForbidden()) return;
  try {
    db->endHeldRead();
    db->makeDurable();  // of what it wrote before it forbade writes, when it was dropped without CloseConn
  } catch (const AutomationError&) {
    return;
  }
  if (db->inTransaction()) return;
  idle.push_back(std::move(db));
  if (idle.size() > kIdleReadersKept) idle.pop_front();
}

}  // namespace quillane::sql
