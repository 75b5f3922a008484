// What the item engine's helpers (the link codecs, the auxiliary properties and the cost-object
// products) use of the engine: its connection, its options and the statement text it records for error
// lines. clsItem implements it; tests of the helpers implement it over an account set of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/automation/object.h"

namespace quillane {

class TrzRecord;

// The links an export call has packed, by kind and identifier: each linked record is read once per call.
// The call reads one state of the account set throughout, so a record read again would read the same.
// The element built from a link is shared by every row of the call that names it: the export only
// writes its records out.
struct PackedLink {
  bool found = false;
  Variant number, name, third;  // third: the UUID of the kinds that carry one
  std::shared_ptr<TrzRecord> element;  // null until a row first packs the link, or where it depends on the row
};
using PackedLinks = std::unordered_map<std::uint64_t, PackedLink>;

class ItemEngineAccess {
 public:
  virtual ~ItemEngineAccess() = default;
  // The engine's connection component (cn), created and opened by the engine before any helper runs.
  virtual const ObjectRef& connection() const = 0;
  // Match records and links by UUID first (CheckByUUID).
  virtual bool checkByUUID() const = 0;
  // The last statement built (m_strSQL): quoted in the error text when a statement fails.
  virtual std::string& lastSQL() = 0;
  // The engine's item class (ItemClassID).
  virtual std::int32_t itemClassID() const = 0;
  // FItemID of the record being imported (m_lItemID); 0 before one is known.
  virtual std::int32_t currentItemID() const = 0;
  // The engine's current data vector holds records.
  virtual bool hasRecords() const = 0;
  // The links packed during the export call under way; null outside one.
  PackedLinks* packedLinks() { return packedLinks_; }

 private:
  friend class PackedLinksOfCall;
  PackedLinks* packedLinks_ = nullptr;
};

// Keeps the engine's packed links for as long as it lives: one export call.
class PackedLinksOfCall {
 public:
  explicit PackedLinksOfCall(ItemEngineAccess& engine) : engine_(engine) { engine_.packedLinks_ = &links_; }
  ~PackedLinksOfCall() { engine_.packedLinks_ = nullptr; }
  PackedLinksOfCall(const PackedLinksOfCall&) = delete;
  PackedLinksOfCall& operator=(const PackedLinksOfCall&) = delete;

 private:
  ItemEngineAccess& engine_;
  PackedLinks links_;
};

}  // namespace quillane
