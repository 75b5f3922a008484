// The prepared statements of one connection, kept by the shape of the library's statement they run
// (statement_shape.h): a statement sent again with other values is bound and run, not rewritten and
// compiled again. Bounded: past its capacity the statement used longest ago is finalized.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sql/rowset.h"

namespace quillane::sql {

class Statement;

class StatementCache {
 public:
  struct Entry {
    Entry();
    Entry(Entry&&) noexcept;
    Entry& operator=(Entry&&) noexcept;
    ~Entry();

    std::unique_ptr<Statement> statement;  // null: the shape does not prepare, the statement runs as written
    std::vector<RowsetColumn> columns;     // the columns of the rows it returns, read once
    bool writes = false;                   // its text holds the declared types of the columns it writes
  };

  // A capacity of 0 keeps nothing: every statement is rewritten and compiled each time it runs.
  explicit StatementCache(std::size_t capacity);
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  std::size_t capacity() const { return capacity_; }
  // Finalizes the statements used longest ago beyond the new capacity.
  void setCapacity(std::size_t capacity);
  std::size_t size() const { return entries_.size(); }

  // The entry of the shape, now the most recently used; null when there is none.
  Entry* find(const std::string& key);
  // Keeps the entry of a shape that find did not know.
  Entry& add(std::string key, Entry entry);
  // Drops the statements that write: the declared types in their text may no longer hold.
  void forgetWrites();
  void clear();

 private:
  void dropBeyond(std::size_t count);

  using Entries = std::list<std::pair<std::string, Entry>>;  // most recently used first
  std::size_t capacity_;
  Entries entries_;
  std::unordered_map<std::string_view, Entries::iterator> index_;  // the keys are those of entries_
};

}  // namespace quillane::sql
