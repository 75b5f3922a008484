#include "platform/xml/TrzRecords.h"

#include "platform/xml/TrzRecord.h"
#include "platform/xml/object_support.h"

namespace quillane {

const Variant& TrzRecords::Item(std::int32_t position) const {
  if (position < 1 || position > Count()) throw vbError(VbError::SubscriptOutOfRange, xml_detail::kTrzSource);
  return items_[static_cast<std::size_t>(position - 1)];
}

std::shared_ptr<TrzRecord> TrzRecords::RecordAt(std::size_t index) const {
  return xml_detail::ObjectOf<TrzRecord>(index < items_.size() ? &items_[index] : nullptr);
}

const DispatchTable& TrzRecords::dispatchTable() const {
  using xml_detail::argument;
  static const DispatchTable table =
      DispatchBuilder<TrzRecords>()
          .raw("Item", 0, InvokeKind::Get,
               [](TrzRecords& v, Arguments a) { return v.Item(CLng(argument(a, 0, 1))); })
          .get("Count", 1, &TrzRecords::Count)
          .raw("Add", 2, InvokeKind::Method,
               [](TrzRecords& v, Arguments a) {
                 v.Add(argument(a, 0, 1));
                 return Variant();
               })
          .build();
  return table;
}

}  // namespace quillane
