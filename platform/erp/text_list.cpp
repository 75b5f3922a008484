#include "platform/erp/text_list.h"

namespace quillane::erp {

std::string TextList::Item(std::int32_t index) const {
  if (index < LBound() || index > UBound()) throw vbError(VbError::SubscriptOutOfRange);
  return items_[static_cast<std::size_t>(index)];
}

const DispatchTable& TextList::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<TextList>()
                                         .get("LBound", 1, &TextList::LBound)
                                         .get("UBound", 2, &TextList::UBound)
                                         .method("Item", 0, &TextList::Item)
                                         .build();
  return table;
}

}  // namespace quillane::erp
