// The records of a document built from libxml2's SAX events while the schema validates the same events:
// no tree is built, walked and freed, which costs more than the records themselves. It reads what the
// tree road of the reader (TrzReader.h) reads; what it does not take on (namespaces, a DTD, comments,
// CDATA sections, anything libxml2 or the schema has to say) it leaves to that road, which names the
// problem.
#pragma once

#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/record_schema.h"

namespace quillane::xml_detail {

// The `typeName` elements of the document's root as records into vect, when the text is a plain
// document that libxml2 parses without a message and the schema accepts. False otherwise, and vect is
// left as it was: the tree road reads the document then.
bool ReadPlainDocument(TrzRecords& vect, std::string_view text, const RecordSchema& schema,
                       const ElementShape* recordShape, std::string_view typeName);

}  // namespace quillane::xml_detail
