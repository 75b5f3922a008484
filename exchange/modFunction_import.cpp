#include "exchange/modFunction_import.h"

#include "platform/automation/vbconv.h"
#include "platform/automation/yield.h"

namespace quillane::modFunction {

bool ImportEachRecord(const TrzRecords& vect, const std::function<void(const std::shared_ptr<TrzRecord>&)>& importOne,
                      const std::function<void(std::int32_t lCur, std::int32_t lTotal, bool& bCancel)>& progress,
                      const std::function<void(const TrzRecord* record, const AutomationError& e)>& failed) {
  bool result = true;
  const std::int32_t lTotal = vect.Count();
  std::int32_t lCur = 0;
  for (const Variant& entry : vect) {
    const ObjectRef* object = entry.tryAs<ObjectRef>();
    const std::shared_ptr<TrzRecord> record = object ? std::dynamic_pointer_cast<TrzRecord>(*object) : nullptr;
    auto attempt = [&](const std::function<void()>& step) {
      try {
        step();
      } catch (const AutomationError& e) {
        failed(record.get(), e);
        result = false;
      }
    };
    attempt([&] { importOne(record); });
    bool bCancel = false;
    ++lCur;
    attempt([&] {
      YieldToMessageLoop();
      progress(lCur, lTotal, bCancel);
    });
    if (bCancel) break;
  }
  return result;
}

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

}  // namespace quillane::modFunction
