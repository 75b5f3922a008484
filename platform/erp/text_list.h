// A list of texts handed out through automation, as a component hands out an array of strings: the
// caller walks it from LBound to UBound and reads each text with Item.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/object.h"

namespace quillane::erp {

class TextList : public AutomationObject {
 public:
  explicit TextList(std::vector<std::string> items = {}) : items_(std::move(items)) {}

  std::int32_t LBound() const { return 0; }
  std::int32_t UBound() const { return static_cast<std::int32_t>(items_.size()) - 1; }  // -1 when empty
  // Raises error 9 (subscript out of range) outside LBound..UBound.
  std::string Item(std::int32_t index) const;
  const std::vector<std::string>& items() const { return items_; }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "TextList"; }

 private:
  std::vector<std::string> items_;
};

}  // namespace quillane::erp
