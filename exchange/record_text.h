// The texts of an imported record as the importers read them.
#pragma once

#include <string>
#include <string_view>

#include "platform/xml/TrzRecord.h"

namespace quillane {

// The value under key as text; an absent key and Null read as the empty text.
std::string RecordText(const TrzRecord& record, std::string_view key);
// The same for an error line, which is written whatever the record holds: no record, or a value that is
// no text, reads as the empty text.
std::string ShownText(const TrzRecord* record, std::string_view key);

}  // namespace quillane
