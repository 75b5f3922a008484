// The own columns of the sample's detail rows: values and links to the sample's other records.
#pragma once

namespace quillane::sql {
class Database;
}

namespace quillane::accountset {

// Fills the type's own columns of every detail row that FillSample wrote; runs after all items and
// link targets are written, since the links point at them.
void FillOwnColumns(sql::Database& db);

}  // namespace quillane::accountset
