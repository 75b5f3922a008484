#include "platform/sql/statement_cache.h"

#include <algorithm>

#include "platform/sql/database.h"

namespace quillane::sql {

StatementCache::Entry::Entry() = default;
StatementCache::Entry::Entry(Entry&&) noexcept = default;
StatementCache::Entry& StatementCache::Entry::operator=(Entry&&) noexcept = default;
StatementCache::Entry::~Entry() = default;

StatementCache::StatementCache(std::size_t capacity) : capacity_(capacity) {}

void StatementCache::setCapacity(std::size_t capacity) {
  capacity_ = capacity;
  dropBeyond(capacity);
  if (capacity == 0) texts_.clear();
}

void StatementCache::dropBeyond(std::size_t count) {
  while (entries_.size() > count) {
    index_.erase(entries_.back().first);
    entries_.pop_back();
  }
}

StatementCache::Entry* StatementCache::find(const std::string& key) {
  auto found = index_.find(key);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return &found->second->second;
}

StatementCache::Entry& StatementCache::add(std::string key, Entry entry) {
  entries_.emplace_front(std::move(key), std::move(entry));
  index_.emplace(entries_.front().first, entries_.begin());
  dropBeyond(std::max<std::size_t>(capacity_, 1));  // the entry just added stays
  return entries_.front().second;
}

void StatementCache::forgetWrites() {
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->second.writes) {
      index_.erase(it->first);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
}

void StatementCache::clear() {
  index_.clear();
  entries_.clear();
  texts_.clear();
}

const StatementCache::KnownText* StatementCache::findText(const std::string& skeleton) const {
  auto found = texts_.find(skeleton);
  return found == texts_.end() ? nullptr : &found->second;
}

void StatementCache::addText(std::string skeleton, KnownText known) {
  if (capacity_ == 0) return;
  if (texts_.size() >= 4 * capacity_) texts_.clear();
  texts_.insert_or_assign(std::move(skeleton), std::move(known));
}

}  // namespace quillane::sql
