#include "platform/sql/read_session.h"

#include "platform/automation/errors.h"
#include "platform/sql/database.h"

namespace quillane::sql {
namespace {

thread_local ReadSession* outermost = nullptr;

}  // namespace

ReadSession::ReadSession() {
  if (!outermost) outermost = this;
}

ReadSession::~ReadSession() {
  if (outermost == this) outermost = nullptr;
}

std::unique_ptr<Database> ReadSession::TakeUp(const std::string& path) {
  if (!outermost || !outermost->kept_ || outermost->kept_->path() != path) return nullptr;
  std::unique_ptr<Database> db = std::move(outermost->kept_);
  if (db->unchangedSinceOpen()) return db;
  return nullptr;  // closed here, before the caller opens the file anew
}

void ReadSession::Close(std::unique_ptr<Database> db) noexcept {
  if (!db || !outermost || !db->writesForbidden()) return;
  try {
    db->endHeldRead();
    db->makeDurable();  // of what it wrote before it forbade writes
  } catch (const AutomationError&) {
    return;
  }
  if (!db->inTransaction()) outermost->kept_ = std::move(db);
}

}  // namespace quillane::sql
