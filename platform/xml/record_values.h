// How a plain value of a record is written as element text and read back, by the simple type the XSD
// gives the element, and how a child's value joins its record.
#pragma once

#include <string>

#include "platform/automation/variant.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/record_schema.h"

namespace quillane::xml_detail {

// The element text of a value: a Boolean as "true"/"false" where the schema wants xs:boolean, else as the
// record holds it ("True"/"False"); a Date as ISO (YYYY-MM-DD, THH:MM:SS when it has a time); Empty as
// an empty text; anything else as CStr gives it.
std::string TextOfValue(const Variant& value, ValueKind kind);

// The value of an element text. A text that does not fit the kind (a whole number beyond a Long, a date
// with a zone) stays the text, so no digit is lost.
Variant ValueOfText(std::string text, ValueKind kind);

// Puts a child's value under its key in the record: a vector key collects one entry per element. An
// element the schema does not describe (no shape) becomes a vector when its name comes again, so that
// no repeated value is lost. Both roads of the reader build records with it.
void AddChild(TrzRecord& record, const std::string& key, Variant value, const ElementShape* shape);

}  // namespace quillane::xml_detail
