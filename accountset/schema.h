// The text of schema.sql, built into the library.
#pragma once

#include <string_view>

namespace quillane::accountset {

std::string_view SchemaSql();

}  // namespace quillane::accountset
