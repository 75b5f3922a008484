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

  // What a batch text of one skeleton (LexSkeleton) was found to be when it first ran: one statement whose
  // shape is kept here, and for each of its literals in order the parameter it is bound to (1, 2...), or
  // 0 where the literal is part of the shape, so that a text of that skeleton runs without being lexed,
  // cut into statements and shaped again. An empty shapeKey: the text takes the whole road.
  struct KnownText {
    std::string shapeKey;
    bool writes = false;                   // the statement may change the database
    std::vector<std::size_t> parameterOf;  // per literal
    std::vector<std::string> keptText;     // per literal: its text where it is part of the shape
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

  // What is known of texts of the skeleton; null when nothing is. Kept for four times as many texts as
  // statements (a text names its shape, which may have been dropped since: the text then takes the
  // whole road and is learnt again).
  const KnownText* findText(const std::string& skeleton) const;
  void addText(std::string skeleton, KnownText known);

 private:
  void dropBeyond(std::size_t count);

  using Entries = std::list<std::pair<std::string, Entry>>;  // most recently used first
  std::size_t capacity_;
  Entries entries_;
  std::unordered_map<std::string_view, Entries::iterator> index_;  // the keys are those of entries_
  std::unordered_map<std::string, KnownText> texts_;
};

}  // namespace quillane::sql
