// How much of a value an error text quotes. An error names the record, the statement or the value at
// fault so that a reader can tell which it was; a document may hand over a value of megabytes, and an
// error that quoted it whole would be as large as the document, unreadable, and repeated by every
// message that quotes it again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillane {

// The code points of a value an error text shows; what follows is told by its size only.
inline constexpr std::size_t kShownCodePoints = 200;

// value as an error quotes it: whole when it has at most kShownCodePoints code points, else its first
// kShownCodePoints code points, "…" and the size of the whole in bytes.
std::string ShownInError(std::string_view value);

// A statement with each of its text literals (between single quotes, '' standing for one quote) through
// ShownInError, the rest as it was.
std::string QuotedValuesShownInError(std::string_view text);

}  // namespace quillane
