// The loop every importer runs over the records of a document, what it tells of them, and how a record
// shows in its error line.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::modFunction {

// What imports did with their records: each one was written whole (imported), left as it was for a
// reason the importer names (skipped), or refused with its error line (failed). stoppedBy is the cause
// of a storage fault that ended an import before its last record (empty: none did).
struct ImportCounts {
  std::int32_t imported = 0;
  std::int32_t failed = 0;
  std::vector<std::pair<std::string, std::int32_t>> skipped;  // by reason, in the order first met
  std::string stoppedBy;

  void Skip(const std::string& reason, std::int32_t records = 1);
  std::int32_t SkippedTotal() const;
  // Adds the records of another import (a later batch of the same file).
  void Add(const ImportCounts& other);

  // The counts as a record, for late-bound callers: Imported, Failed, Skipped (a record of reason to
  // records) and StoppedBy. FromRecord reads it back; missing keys count as none.
  std::shared_ptr<TrzRecord> ToRecord() const;
  static ImportCounts FromRecord(const TrzRecord& record);
  // The counts a per-type object reports through its member ImportCounts.
  static ImportCounts Of(const ObjectRef& object);
};

// Why an importer leaves a record alone: the texts of its skip reasons, untranslated.
inline constexpr const char* kSkipClash = "代码已被另一名称的记录使用，冲突处理为跳过";
inline constexpr const char* kSkipDetailFlag = "代码已被明细标志不同的记录使用";
inline constexpr const char* kSkipExisting = "记录已存在，只引入新记录";
inline constexpr const char* kSkipReservedNumber = "代码为系统保留";
inline constexpr const char* kSkipUntypedEntry = "同代码同名称的辅助资料已存在，但不属于任何类别";

// Imports the entries of vect in order: importOne writes each entry's record (null for an entry that
// is none) and returns the untranslated reason when it left the record alone, the empty text when it
// wrote it; it raises when the record fails. After each one, imported or not, the message loop runs
// (unless bYield is False) and progress is told the entries handled so far and their number; a True
// bCancel from it ends the loop. An error of importOne, or of the caller's sinks while the loop yields
// or reports progress, is that record's failure: failed is told of it, and the loop goes on. A fault of
// the storage (IsStorageFault) is no record's: the loop ends at once, counts.stoppedBy names the cause
// and the error is raised again, its description naming it too. Every record is counted in counts.
// True when no record failed.
bool ImportEachRecord(const TrzRecords& vect, const std::function<std::string(const std::shared_ptr<TrzRecord>&)>& importOne,
                      const std::function<void(std::int32_t lCur, std::int32_t lTotal, bool& bCancel)>& progress,
                      const std::function<void(const TrzRecord* record, const AutomationError& e)>& failed,
                      ImportCounts& counts, bool bYield = true);

// Whether the error is the database's storage failing rather than the statement: the file is full,
// read-only, unreadable or cannot be opened, or another program kept it locked past the busy wait. No
// later record could be written either.
bool IsStorageFault(const AutomationError& e);

// The error text of an import call that ended: the earlier records' error lines are kept before the
// stop of a storage fault; any other error replaces them.
void ReportCallError(std::string& strError, const AutomationError& e, std::string_view strSQL,
                     const ImportCounts& counts);

// Whether candidate is ancestor itself or stands under it in the tree of a table whose rows, keyed by
// keyColumn, name their parent in FParentID (0 for a root), following the parents up from candidate with
// the caller's query. A record whose parent were such a row would close a cycle. A cycle that is there
// already, above candidate, ends the walk.
bool IsSelfOrDescendant(std::int32_t ancestor, std::int32_t candidate, std::string_view table,
                        std::string_view keyColumn, const std::function<ObjectRef(const std::string&)>& query);

// The refusal of a record whose parent is the record itself or one of its descendants.
AutomationError ParentCycleError(std::string_view source, std::string_view parentNumber);

// The text under key; a missing key and Null read as the empty text.
std::string RecordText(const TrzRecord& record, std::string_view key);

// The text under key as an error line shows it: the empty text for no record, a missing key, a Null or
// a value that gives no text, so that the line is written whatever the record holds.
std::string ShownText(const TrzRecord* record, std::string_view key);

}  // namespace quillane::modFunction
