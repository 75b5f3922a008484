// Writing markup back from what the SAX reader reports: the reader delivers texts unescaped, so text
// and attribute values must be escaped again, or a value holding "&" or "<" makes the document
// malformed.
#pragma once

#include <string>

#include "platform/xml/SAXXMLReader.h"

namespace quillane {

// In attribute values the white space that survived the reader's normalisation is kept by reference, and
// a CR everywhere.
std::string EscapeXml(const std::string& text, bool inAttribute);
// ` xmlns="uri"` or ` xmlns:prefix="uri"`, as a start tag carries a declaration the reader reported.
std::string NamespaceDeclaration(const std::string& prefix, const std::string& uri);
// "<qName" + declarations + each attribute in the reader's order + ">".
std::string StartTag(const std::string& qName, const std::string& declarations, const ISAXAttributes& attributes);

}  // namespace quillane
