// The loop every importer runs over the records of a document, and how a record shows in its error line.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::modFunction {

// Imports the entries of vect in order: importOne writes each entry's record (null for an entry that
// is none), raising when it fails. After each one, imported or not, the message loop runs and progress
// is told the entries handled so far and their number; a True bCancel from it ends the loop. An error
// of importOne, or of the caller's sinks while the loop yields or reports progress, is that record's
// failure: failed is told of it, and the loop goes on. True when no record failed.
bool ImportEachRecord(const TrzRecords& vect, const std::function<void(const std::shared_ptr<TrzRecord>&)>& importOne,
                      const std::function<void(std::int32_t lCur, std::int32_t lTotal, bool& bCancel)>& progress,
                      const std::function<void(const TrzRecord* record, const AutomationError& e)>& failed);

// The text under key; a missing key and Null read as the empty text.
std::string RecordText(const TrzRecord& record, std::string_view key);

// The text under key as an error line shows it: the empty text for no record, a missing key, a Null or
// a value that gives no text, so that the line is written whatever the record holds.
std::string ShownText(const TrzRecord* record, std::string_view key);

}  // namespace quillane::modFunction
