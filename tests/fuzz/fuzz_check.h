// What the fuzz targets share: an oracle that fails loudly. A broken rule aborts the process, so that
// libFuzzer keeps the input as a crash and the message says which rule broke and on what.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quillane::fuzz {

// The text with every byte outside printable ASCII written as \xNN, for messages.
inline std::string Shown(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "\nfuzz oracle broken: %s\n", what.c_str());
  std::abort();
}

inline void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

}  // namespace quillane::fuzz
