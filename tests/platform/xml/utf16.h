// Files as the bulk operations write them: UTF-16 with a byte-order mark.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/vbtext.h"

namespace quillane::testing {

inline std::string Utf16LeFile(std::string_view text) {
  std::vector<std::uint8_t> bytes = Utf8ToUtf16Le(text);
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}

inline std::string Utf16BeFile(std::string_view text) {
  std::string le = Utf16LeFile(text).substr(2);
  for (std::size_t i = 0; i + 1 < le.size(); i += 2) std::swap(le[i], le[i + 1]);
  return "\xFE\xFF" + le;
}

}  // namespace quillane::testing
