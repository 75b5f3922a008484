// Recordsets as text, for comparing what the database holds with what a test expects.
#pragma once

#include <string>

#include "platform/automation/vbconv.h"
#include "platform/sql/recordset.h"

namespace quillane::testing {

// The rows of a recordset as text: columns joined by ",", rows by ";"; Null as NULL, bytes as 0x...
inline std::string RenderValue(const Variant& v) {
  if (v.isNull()) return "NULL";
  if (v.isBytes()) {
    std::string hex = "0x";
    for (std::uint8_t b : v.as<Bytes>()) {
      const char* digits = "0123456789ABCDEF";
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    return hex;
  }
  return CStr(v);
}

inline std::string RenderRows(sql::Recordset& rs) {
  std::string out;
  if (!rs.IsOpen()) return "closed";
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
    if (!out.empty()) out += ";";
    for (std::int32_t c = 0; c < rs.FieldCount(); ++c) out += (c ? "," : "") + RenderValue(rs.Value(static_cast<std::size_t>(c)));
  }
  return out;
}

}  // namespace quillane::testing
