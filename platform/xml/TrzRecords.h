// The data vector of the XML component: the records of one document, in order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/object.h"

namespace quillane {

class TrzRecord;

// An entry is usually a TrzRecord; a vector may also hold plain values (a list of texts, as an error list
// comes back from the class-exchange component). Positions (Item) count from 1.
class TrzRecords : public AutomationObject {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  void Add(Variant item) { items_.push_back(std::move(item)); }
  // The entry at a 1-based position; raises error 9 outside 1 to Count.
  const Variant& Item(std::int32_t position) const;

  // For code that holds the vector: the entries in order, and the record at a 0-based index (null when
  // that entry is no record).
  const std::vector<Variant>& Items() const { return items_; }
  std::vector<Variant>::const_iterator begin() const { return items_.begin(); }
  std::vector<Variant>::const_iterator end() const { return items_.end(); }
  std::shared_ptr<TrzRecord> RecordAt(std::size_t index) const;

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TrzRecords"; }

 private:
  std::vector<Variant> items_;
};

}  // namespace quillane
