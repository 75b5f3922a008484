#include "platform/xml/TrzRecord.h"

#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/object_support.h"

namespace quillane {

namespace {

// Keys are compared at every store and lookup; most differ in length already.
bool sameKey(const std::string& a, std::string_view b) { return a.size() == b.size() && SameText(a, b); }

}  // namespace

const Variant* TrzRecord::find(std::string_view key) const {
  for (const Entry& e : entries_)
    if (sameKey(e.first, key)) return &e.second;
  return nullptr;
}

const Variant& TrzRecord::Item(std::string_view key) const {
  if (const Variant* v = find(key)) return *v;
  throw AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), xml_detail::kTrzSource,
                        "The record has no key \"" + std::string(key) + "\"");
}

void TrzRecord::SetValue(std::string_view key, Variant value) {
  for (Entry& e : entries_) {
    if (sameKey(e.first, key)) {
      e.second = std::move(value);
      return;
    }
  }
  // A record of a document holds a dozen keys or more: room for them at once.
  if (entries_.empty()) entries_.reserve(16);
  entries_.emplace_back(std::string(key), std::move(value));
}

void TrzRecord::SetObject(std::string_view key, ObjectRef object) { SetValue(key, Variant(std::move(object))); }

bool TrzRecord::Exists(std::string_view key) const { return find(key) != nullptr; }

Variant TrzRecord::GetValue(std::string_view key, Variant fallback) const {
  const Variant* v = find(key);
  return v ? *v : fallback;
}

const std::string& TrzRecord::Key(std::int32_t position) const {
  if (position < 1 || position > Count()) throw vbError(VbError::SubscriptOutOfRange, xml_detail::kTrzSource);
  return entries_[static_cast<std::size_t>(position - 1)].first;
}

std::shared_ptr<TrzRecord> TrzRecord::GetRecord(std::string_view key) const {
  return xml_detail::ObjectOf<TrzRecord>(find(key));
}

std::shared_ptr<TrzRecords> TrzRecord::GetVector(std::string_view key) const {
  return xml_detail::ObjectOf<TrzRecords>(find(key));
}

const DispatchTable& TrzRecord::dispatchTable() const {
  using xml_detail::argument;
  static const DispatchTable table =
      DispatchBuilder<TrzRecord>()
          .raw("Item", 0, InvokeKind::Get,
               [](TrzRecord& r, Arguments a) { return r.Item(CStr(argument(a, 0, 1))); })
          .raw("SetValue", 1, InvokeKind::Method,
               [](TrzRecord& r, Arguments a) {
                 r.SetValue(CStr(argument(a, 0, 2)), argument(a, 1, 2));
                 return Variant();
               })
          .raw("SetObject", 2, InvokeKind::Method,
               [](TrzRecord& r, Arguments a) {
                 r.SetObject(CStr(argument(a, 0, 2)), fromVariant<ObjectRef>(argument(a, 1, 2)));
                 return Variant();
               })
          .raw("Exists", 3, InvokeKind::Method,
               [](TrzRecord& r, Arguments a) { return Variant(r.Exists(CStr(argument(a, 0, 1)))); })
          .raw("GetValue", 4, InvokeKind::Method,
               [](TrzRecord& r, Arguments a) { return r.GetValue(CStr(argument(a, 0, 2)), argument(a, 1, 2)); })
          .get("Count", 5, &TrzRecord::Count)
          .raw("Key", 6, InvokeKind::Get,
               [](TrzRecord& r, Arguments a) { return Variant(r.Key(CLng(argument(a, 0, 1)))); })
          .build();
  return table;
}

}  // namespace quillane
