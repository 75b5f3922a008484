// How a plain value of a record is written as element text and read back, by the simple type the XSD
// gives the element.
#pragma once

#include <string>

#include "platform/automation/variant.h"
#include "platform/xml/record_schema.h"

namespace quillane::xml_detail {

// The element text of a value: a Boolean as "true"/"false" where the schema wants xs:boolean, else as the
// record holds it ("True"/"False"); a Date as ISO (YYYY-MM-DD, THH:MM:SS when it has a time); Empty as
// an empty text; anything else as CStr gives it.
std::string TextOfValue(const Variant& value, ValueKind kind);

// The value of an element text. A text that does not fit the kind (a whole number beyond a Long, a date
// with a zone) stays the text, so no digit is lost.
Variant ValueOfText(std::string text, ValueKind kind);

}  // namespace quillane::xml_detail
