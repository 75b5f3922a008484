// VB's text functions over UTF-8 text. Positions and lengths count characters (code points), not bytes,
// because the texts are Chinese as often as not and VB counts characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillane {

std::size_t Len(std::string_view s);
std::string Left(std::string_view s, std::size_t count);
std::string Right(std::string_view s, std::size_t count);
// Characters from the 1-based position start on; all the rest when count is npos. Position 0 raises 5.
std::string Mid(std::string_view s, std::size_t start, std::size_t count = std::string_view::npos);
// 1-based character position of the first find at or after start, 0 when there is none; an empty find
// gives start (as VB does). Binary comparison unless textCompare, which ignores letter case.
std::size_t InStr(std::size_t start, std::string_view s, std::string_view find, bool textCompare = false);
inline std::size_t InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }
// Reverse search: 1-based position of the last find, 0 when there is none.
std::size_t InStrRev(std::string_view s, std::string_view find);
// VB's Split: an empty text gives no parts; limit -1 splits at every delimiter.
std::vector<std::string> Split(std::string_view s, std::string_view delimiter = " ", int limit = -1);
std::string Join(const std::vector<std::string>& parts, std::string_view delimiter);
std::string Replace(std::string_view s, std::string_view find, std::string_view with);

// VB trims the blank (space) only, never tabs or line breaks.
std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);
std::string_view Trim(std::string_view s);

// Case mapping of the ASCII letters; other characters (CJK has no case) are kept.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Equal without regard to letter case, as VB's text comparison and the record keys compare.
bool SameText(std::string_view a, std::string_view b);
// Ordering without regard to letter case, for maps keyed by such names.
struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

// Conversions between the process's UTF-8 and the UTF-16 LE of files and byte arrays. Invalid UTF-8
// becomes U+FFFD rather than being dropped silently.
std::vector<std::uint8_t> Utf8ToUtf16Le(std::string_view s);
std::string Utf16LeToUtf8(const std::vector<std::uint8_t>& bytes);
std::string Utf16LeToUtf8(const std::uint8_t* data, std::size_t size);

}  // namespace quillane
