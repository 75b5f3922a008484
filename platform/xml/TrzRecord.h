// The record dictionary of the XML component: one exchanged record, its keys becoming the element names
// of the document in the order they were first set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/object.h"

namespace quillane {

class TrzRecords;

// Keys compare without regard to case ("FId" and "FID" are one key) and keep the spelling and position of
// the first Set. A value is a Variant: a text or number, Null, a nested TrzRecord or a TrzRecords vector.
// Positions (Key) count from 1, as in every collection of the component.
class TrzRecord : public AutomationObject {
 public:
  using Entry = std::pair<std::string, Variant>;

  // The value under key. Raises error 5, naming the key, when the record has no such key.
  const Variant& Item(std::string_view key) const;
  // Stores value under key: replaces the value of an existing key in its place, else appends the key.
  void SetValue(std::string_view key, Variant value);
  // Stores an object (a nested record or vector; Nothing is allowed) under key, as SetValue does.
  void SetObject(std::string_view key, ObjectRef object);
  bool Exists(std::string_view key) const;
  // The value under key, or fallback when the key is missing (a stored Null stays Null).
  Variant GetValue(std::string_view key, Variant fallback) const;
  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  // The key at a 1-based position; raises error 9 outside 1 to Count.
  const std::string& Key(std::int32_t position) const;

  // For code that holds the record: the nested record or vector under key, null when the key is missing
  // or holds something else. This is how an importer tells a nested record from a plain value.
  std::shared_ptr<TrzRecord> GetRecord(std::string_view key) const;
  std::shared_ptr<TrzRecords> GetVector(std::string_view key) const;
  // Every key with its value, in key order.
  const std::vector<Entry>& Entries() const { return entries_; }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TrzRecord"; }

 private:
  const Variant* find(std::string_view key) const;

  std::vector<Entry> entries_;
};

}  // namespace quillane
