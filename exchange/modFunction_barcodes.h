// The bar codes of item records: rows of t_BarCode (FTypeID the item class, FItemID the item), exchanged
// as the vector BarCodes of records {BarCode, Remark}.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/automation/object.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::modFunction {

// A new vector with one record per bar code of the item, in the order the table returns them; empty,
// never null, for an item without bar codes. A Null remark stays Null. Database errors reach the caller.
std::shared_ptr<TrzRecords> ReadBarCodes(const ObjectRef& oConn, std::int32_t lTypeID, std::int32_t lItemID);

// Replaces the item's bar codes by those of vect: one DELETE, then one batch of INSERT statements, each
// after a line break (none for an empty vector). Texts are placed between quotes with their apostrophes
// doubled; a missing or Null BarCode or Remark is stored as the empty text. Errors reach the caller,
// inside its transaction for the record.
void SaveBarCodes(const ObjectRef& oConn, std::int32_t lTypeID, std::int32_t lItemID, const TrzRecords& vect);

}  // namespace quillane::modFunction
