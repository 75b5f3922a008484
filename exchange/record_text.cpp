#include "exchange/record_text.h"

#include "platform/automation/vbconv.h"

namespace quillane {

std::string RecordText(const TrzRecord& record, std::string_view key) {
  Variant value = record.GetValue(key, Variant(""));
  return value.isNull() ? std::string() : CStr(value);
}

std::string ShownText(const TrzRecord* record, std::string_view key) {
  if (!record) return {};
  try {
    return RecordText(*record, key);
  } catch (const AutomationError&) {
    return {};
  }
}

}  // namespace quillane
