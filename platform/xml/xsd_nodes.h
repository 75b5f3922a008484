// Reading the elements of an XSD file as libxml2 parsed them: what the reader of record shapes and the
// compiler of document checks share.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/libxml_support.h"

namespace quillane::xml_detail {

// True when the node is the XSD element of that local name.
bool IsXsd(const xmlNode* node, const char* localName);

// The attribute's value, empty when it is missing.
std::string Attribute(const xmlNode* node, const char* name);
bool HasAttribute(const xmlNode* node, const char* name);

// "xs:string" -> "string".
std::string LocalPart(const std::string& qname);

// True when the QName names a type of the XSD namespace itself (xs:string, or string under a default
// namespace of XSD).
bool IsBuiltinName(const xmlNode* context, const std::string& qname);

template <class F>
void ForEachChildElement(const xmlNode* node, F&& f) {
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) f(c);
}

// The global declarations of a schema file and of the files it includes, by name (a schema declares no
// target namespace: names are local names).
struct SchemaGlobals {
  std::vector<const xmlNode*> roots;  // the xs:schema element of each file
  std::map<std::string, const xmlNode*, std::less<>> elements, complexTypes, simpleTypes, groups;
};

}  // namespace quillane::xml_detail
