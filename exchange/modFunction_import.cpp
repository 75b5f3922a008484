#include "exchange/modFunction_import.h"

#include <limits>
#include <set>

#include "exchange/mdlLanguage.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/yield.h"
#include "platform/sql/errors.h"

namespace quillane::modFunction {
namespace {

using mdlLanguage::LoadLangString;

// The cause of a storage fault in words, untranslated; null for any other error.
const char* storageFaultCause(const AutomationError& e) {
  if (e.source != sql::kProviderSource) return nullptr;
  switch (static_cast<sql::OleDbError>(e.number)) {
    case sql::OleDbError::StorageFull: return "磁盘已满";
    case sql::OleDbError::PermissionDenied: return "账套只读";
    case sql::OleDbError::StorageIOFault: return "读写错误";
    case sql::OleDbError::Fail: return "账套无法打开或已损坏";
    // The wait for another program's lock is over once, for every record alike.
    case sql::OleDbError::Timeout: return "账套被另一程序锁定";
    default: return nullptr;
  }
}

std::int32_t saturatedSum(std::int32_t a, std::int32_t b) {
  const std::int64_t sum = std::int64_t{a} + b;
  return sum > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(sum);
}

}  // namespace

void ImportCounts::Skip(const std::string& reason, std::int32_t records) {
  for (auto& [known, count] : skipped)
    if (known == reason) {
      count = saturatedSum(count, records);
      return;
    }
  skipped.emplace_back(reason, records);
}

std::int32_t ImportCounts::SkippedTotal() const {
  std::int32_t total = 0;
  for (const auto& entry : skipped) total = saturatedSum(total, entry.second);
  return total;
}

void ImportCounts::Add(const ImportCounts& other) {
  imported = saturatedSum(imported, other.imported);
  failed = saturatedSum(failed, other.failed);
  for (const auto& [reason, count] : other.skipped) Skip(reason, count);
  if (stoppedBy.empty()) stoppedBy = other.stoppedBy;
}

std::shared_ptr<TrzRecord> ImportCounts::ToRecord() const {
  auto record = std::make_shared<TrzRecord>();
  record->SetValue("Imported", imported);
  record->SetValue("Failed", failed);
  auto reasons = std::make_shared<TrzRecord>();
  for (const auto& [reason, count] : skipped) reasons->SetValue(reason, count);
  record->SetObject("Skipped", reasons);
  record->SetValue("StoppedBy", stoppedBy);
  return record;
}

ImportCounts ImportCounts::FromRecord(const TrzRecord& record) {
  ImportCounts counts;
  counts.imported = CLng(record.GetValue("Imported", std::int32_t{0}));
  counts.failed = CLng(record.GetValue("Failed", std::int32_t{0}));
  if (std::shared_ptr<TrzRecord> reasons = record.GetRecord("Skipped"))
    for (const auto& [reason, count] : reasons->Entries()) counts.Skip(reason, CLng(count));
  counts.stoppedBy = RecordText(record, "StoppedBy");
  return counts;
}

ImportCounts ImportCounts::Of(const ObjectRef& object) {
  std::shared_ptr<TrzRecord> record = object->Get("ImportCounts").objectAs<TrzRecord>();
  return record ? FromRecord(*record) : ImportCounts();
}

bool IsStorageFault(const AutomationError& e) { return storageFaultCause(e) != nullptr; }

void ReportCallError(std::string& strError, const AutomationError& e, std::string_view strSQL,
                     const ImportCounts& counts) {
  if (counts.stoppedBy.empty()) strError.clear();
  strError += FormatErrInfo(e, strSQL);
}

bool ImportEachRecord(const TrzRecords& vect, const std::function<std::string(const std::shared_ptr<TrzRecord>&)>& importOne,
                      const std::function<void(std::int32_t lCur, std::int32_t lTotal, bool& bCancel)>& progress,
                      const std::function<void(const TrzRecord* record, const AutomationError& e)>& failed,
                      ImportCounts& counts, bool bYield) {
  bool result = true;
  const std::int32_t lTotal = vect.Count();
  std::int32_t lCur = 0;
  for (const Variant& entry : vect) {
    const ObjectRef* object = entry.tryAs<ObjectRef>();
    const std::shared_ptr<TrzRecord> record = object ? std::dynamic_pointer_cast<TrzRecord>(*object) : nullptr;
    auto attempt = [&](const std::function<void()>& step) {
      try {
        step();
        return true;
      } catch (const AutomationError& e) {
        if (const char* cause = storageFaultCause(e)) {
          counts.stoppedBy = LoadLangString(cause);
          throw AutomationError(e.number, e.source,
                                LoadLangString("导入因存储故障中止:") + counts.stoppedBy + " (" + e.description + ")");
        }
        ++counts.failed;
        failed(record.get(), e);
        result = false;
        return false;
      }
    };
    std::string skipReason;
    const bool written = attempt([&] { skipReason = importOne(record); });
    bool bCancel = false;
    ++lCur;
    const bool reported = attempt([&] {
      if (bYield) YieldToMessageLoop();
      progress(lCur, lTotal, bCancel);
    });
    if (written && reported) {
      if (skipReason.empty())
        ++counts.imported;
      else
        counts.Skip(LoadLangString(skipReason));
    }
    if (bCancel) break;
  }
  return result;
}

bool IsSelfOrDescendant(std::int32_t ancestor, std::int32_t candidate, std::string_view table,
                        std::string_view keyColumn, const std::function<ObjectRef(const std::string&)>& query) {
  const std::string parentOf = "SELECT FParentID FROM " + std::string(table) + " WHERE " + std::string(keyColumn) + "=";
  std::set<std::int32_t> seen;
  for (std::int32_t id = candidate; id != 0 && seen.insert(id).second;) {
    if (id == ancestor) return true;
    ObjectRef rs = query(parentOf + std::to_string(id));
    id = IsEOF(rs) ? 0 : CLng(FieldValue(rs, "FParentID"));
  }
  return false;
}

AutomationError ParentCycleError(std::string_view source, std::string_view parentNumber) {
  return AutomationError(kLibraryRefusal, std::string(source),
                         LoadLangString("上级不能是记录自身或它的下级:") + std::string(parentNumber));
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
